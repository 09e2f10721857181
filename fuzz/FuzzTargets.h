#pragma once

#include <cstddef>
#include <cstdint>

// One entry per reader of stored files. Each returns 0 and aborts on a broken property.
namespace gffuzz {
int userFile(const uint8_t* data, size_t size);
int summary(const uint8_t* data, size_t size);
int log(const uint8_t* data, size_t size);
int itemTables(const uint8_t* data, size_t size);
// The progress report from the same bytes as logs, drawn page by page (ReportFuzz.cpp).
int report(const uint8_t* data, size_t size);
} // namespace gffuzz
