// Errors of the dialog engine: the message formats and the rule that the first
// error recorded while a dialog opens is the one it keeps.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// The messages; each %s takes the next argument.
inline constexpr std::string_view kErrorWindowNotFound = "Dialog window not found";
inline constexpr std::string_view kErrorFlagNotSupported = "'#%s' flag is not supported for the following gadget: %s";
inline constexpr std::string_view kErrorConstantNotFound = "'%s' constant is not found or not declared as runtime%s.";
inline constexpr std::string_view kErrorEventNotSupported = "'%s' is not supported for the following gadget: %s";
inline constexpr std::string_view kErrorNotRuntimeProcedure = "'%s' is not a runtime procedure.";
// Failures the formats above do not cover; arguments as written in the definition.
inline constexpr std::string_view kErrorWindowNotOpened = "Dialog window could not be opened";
inline constexpr std::string_view kErrorGadgetNotAvailable = "'%s' gadget is not available in this build: %s";
inline constexpr std::string_view kErrorGadgetNotCreated = "'%s' gadget could not be created: %s";
inline constexpr std::string_view kErrorBadAttribute = "'%s' has an invalid value for the following gadget: %s";
inline constexpr std::string_view kErrorBadId = "'%s' is not a usable ID for the following gadget: %s";
inline constexpr std::string_view kErrorGridFull = "'%s' does not fit into the grid: %s";
inline constexpr std::string_view kErrorTooDeep = "Dialog definition is nested too deeply at: %s";
inline constexpr std::string_view kErrorTabOutsidePanel = "'%s' is not inside a panel: %s";
inline constexpr std::string_view kErrorTooManyElements = "Dialog definition has too many elements";
// Line, column, the parser's text.
inline constexpr std::string_view kErrorNotWellFormed =
    "Dialog definition is not well-formed XML (line %s, column %s): %s";

// A message as composed: in a buffer of 512 bytes, NUL-terminated.
struct DialogErrorMessage {
    char text[512];
    std::size_t length;  // at most 511
    [[nodiscard]] std::string_view view() const { return {text, length}; }
};

// Where errors are recorded: the dialog being opened implements it.
class DialogErrorSink {
public:
    [[nodiscard]] virtual bool has_error() const noexcept = 0;
    // Keeps the 8-bit message; called only while has_error() is false, and
    // has_error() is true afterwards even if the text could not be stored.
    virtual void keep_error(std::string_view message) noexcept = 0;

protected:
    ~DialogErrorSink() = default;
};

// Composes the message: each %s is replaced by the next argument in the ANSI
// code page (cut at an embedded NUL; missing arguments are empty), %% gives
// '%', and what does not fit is cut.
[[nodiscard]] DialogErrorMessage format_dialog_error(std::string_view format,
                                                     std::initializer_list<std::u16string_view> args = {}) noexcept;

// Records the message unless the sink holds an error already.
void record_dialog_error(DialogErrorSink& sink,
                         std::string_view format,
                         std::initializer_list<std::u16string_view> args = {}) noexcept;

// A sink that holds the text itself.
class DialogErrorText final : public DialogErrorSink {
public:
    bool has_error() const noexcept override { return has_error_; }
    void keep_error(std::string_view message) noexcept override;
    [[nodiscard]] const std::string& text() const { return text_; }
    void clear() noexcept;

private:
    std::string text_;
    bool has_error_ = false;
};
