// What tests share with blobsmith-refusals.dll.
#pragma once

// Set by the slow SetClipboardData as it begins.
inline constexpr wchar_t kClipboardSettingEvent[] = L"blobsmith-test-clipboard-setting";
