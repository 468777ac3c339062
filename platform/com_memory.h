// Memory that the host hands out (texts of its settings store) is released
// by the receiver of the block with CoTaskMemFree, as on Windows.
#pragma once

#include <cstddef>

void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* block);
