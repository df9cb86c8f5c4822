// Object ids: what public headers need to name numbered objects without the
// registry that keeps them.
#pragma once

#include <cstdint>

// An object's id: a number the program chose (0 and up) or, after creation
// with PB_Any, the handle the library returned (its record's address).
using ObjectId = std::intptr_t;

// Create with PB_Any to let the library choose the id.
inline constexpr ObjectId PB_Any = -1;
