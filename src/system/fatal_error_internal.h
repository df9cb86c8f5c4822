// Shared between the portable and the platform halves of fatal error reporting.
#pragma once

#include "system/fatal_error.h"

// The process-wide record that the exception filter fills.
[[nodiscard]] ErrorRecord& error_record_storage() noexcept;

// Set by the filter before the routine runs (and by tests, which reset it).
void mark_fatal_error_reporting(bool reporting) noexcept;
