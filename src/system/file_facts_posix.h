// What file_facts makes of a stat result, for the POSIX file and directory
// layers (a listing asks its entries relative to its own descriptor).
#pragma once

#include <sys/stat.h>

#include "system/file.h"

[[nodiscard]] FileFacts file_facts_of(const struct stat& st);
