// Shared between the portable and the platform halves of fatal error reporting.
#pragma once

#include "system/fatal_error.h"

// The process-wide record that the exception filter fills.
[[nodiscard]] ErrorRecord& error_record_storage() noexcept;
