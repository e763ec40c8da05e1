#pragma once

#include <cstddef>
#include <cstdint>

// The unit reports the lengths of its archive and event memories itself. A length beyond any
// real memory (a corrupted answer) must not make the program allocate gigabytes or wait for
// bytes that never come, so every reported length is capped here.
namespace unitmemory {

constexpr std::size_t kMaxLength = std::size_t{64} * 1024 * 1024;

constexpr std::size_t CappedLength(std::uint64_t reported)
{
    return reported > kMaxLength ? kMaxLength : static_cast<std::size_t>(reported);
}

}  // namespace unitmemory
