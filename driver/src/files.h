// Writing files whole or not at all.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace kivo {

// Writes the parts, in order, to a new file in the folder of `path` and
// renames it over `path`: a reader sees the old file or the new one, never a
// part. With `durable` the data reaches the disk before the rename. On
// failure the temporary file is removed, whatever was at `path` stays, and
// the result is false.
bool WriteFileAtomically(const std::string& path, std::span<const std::span<const std::byte>> parts, bool durable);

enum class ReadStatus { Ok, Missing, Unreadable, TooLarge };
// Reads a whole file of at most `limit` bytes.
ReadStatus ReadWholeFile(const std::string& path, std::size_t limit, std::string& text);

}  // namespace kivo
