// Create operations of the gadget kinds that show pictures: image, button image
// and canvas. Images are passed as native bitmap or icon handles (0 = none),
// for example an image object's image_handle; the gadgets keep their own copy.
// Each returns the native control for a number, the new id for PB_Any, 0 on
// failure (a live number keeps its old gadget then); a number in use loses its
// old gadget.
#pragma once

#include <cstdint>

#include "gadget/gadget.h"

inline constexpr std::uint32_t PB_Image_Raised = 0x1;
inline constexpr std::uint32_t PB_Image_Border = 0x200;

// Button image attributes: the image shown, and the one shown while a toggle button is down.
inline constexpr std::int32_t PB_Button_Image = 1;
inline constexpr std::int32_t PB_Button_PressedImage = 2;

inline constexpr std::uint32_t PB_Canvas_Border = 0x1;
inline constexpr std::uint32_t PB_Canvas_ClipMouse = 0x2;
inline constexpr std::uint32_t PB_Canvas_Keyboard = 0x4;
inline constexpr std::uint32_t PB_Canvas_DrawFocus = 0x8;
inline constexpr std::uint32_t PB_Canvas_Container = 0x20;

// Event types of the canvas (besides ET_RESIZE, ET_FOCUS, ET_LOST_FOCUS and the clicks).
inline constexpr std::int32_t ET_MOUSE_ENTER = 65537;
inline constexpr std::int32_t ET_MOUSE_LEAVE = 65538;
inline constexpr std::int32_t ET_MOUSE_MOVE = 65539;
inline constexpr std::int32_t ET_LEFT_BUTTON_DOWN = 65540;
inline constexpr std::int32_t ET_LEFT_BUTTON_UP = 65541;
inline constexpr std::int32_t ET_RIGHT_BUTTON_DOWN = 65542;
inline constexpr std::int32_t ET_RIGHT_BUTTON_UP = 65543;
inline constexpr std::int32_t ET_MIDDLE_BUTTON_DOWN = 65544;
inline constexpr std::int32_t ET_MIDDLE_BUTTON_UP = 65545;
inline constexpr std::int32_t ET_MOUSE_WHEEL = 65546;
inline constexpr std::int32_t ET_KEY_DOWN = 65547;
inline constexpr std::int32_t ET_KEY_UP = 65548;
inline constexpr std::int32_t ET_INPUT = 65549;

// Canvas attributes, read while handling its events.
inline constexpr std::int32_t PB_Canvas_MouseX = 1;
inline constexpr std::int32_t PB_Canvas_MouseY = 2;
inline constexpr std::int32_t PB_Canvas_Buttons = 3;     // MK_* bits of the last mouse message
inline constexpr std::int32_t PB_Canvas_WheelDelta = 4;  // notches, up positive
inline constexpr std::int32_t PB_Canvas_Key = 5;         // virtual key of the last key event
inline constexpr std::int32_t PB_Canvas_Input = 6;       // the last character typed
inline constexpr std::int32_t PB_Canvas_Cursor = 7;      // set: a system cursor id (IDC_*), 0 the arrow

// A picture that reports clicks, double clicks and drag starts. State: the
// bitmap (or icon) handle it shows; setting it shows a copy of another.
[[nodiscard]] std::intptr_t image_gadget(std::intptr_t id,
                                         std::int32_t x,
                                         std::int32_t y,
                                         std::int32_t width,
                                         std::int32_t height,
                                         std::uintptr_t image,
                                         std::uint32_t flags = 0);
// A push button (or toggle button with PB_Button_Toggle) showing an image.
[[nodiscard]] std::intptr_t buttonimage_gadget(std::intptr_t id,
                                               std::int32_t x,
                                               std::int32_t y,
                                               std::int32_t width,
                                               std::int32_t height,
                                               std::uintptr_t image,
                                               std::uint32_t flags = 0);
// A surface the program draws on (canvas_draw) that keeps its drawing in an
// off-screen image and reports mouse, focus and key events of its own.
// PB_Canvas_Container makes it the current gadget list until gadget_close_list.
[[nodiscard]] std::intptr_t canvas_gadget(std::intptr_t id,
                                          std::int32_t x,
                                          std::int32_t y,
                                          std::int32_t width,
                                          std::int32_t height,
                                          std::uint32_t flags = 0);
// Calls draw with a device context (an HDC) on the canvas's off-screen image,
// then shows the result. False (draw not called) for no canvas.
using CanvasDrawRoutine = void (*)(void* dc, std::int32_t width, std::int32_t height, void* user);
bool canvas_draw(std::intptr_t gadget, CanvasDrawRoutine draw, void* user);
