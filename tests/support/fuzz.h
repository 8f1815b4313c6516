// SPDX-License-Identifier: MIT
#pragma once
// What the libFuzzer targets share: a broken promise aborts, as a crash does,
// and the fuzzer's bytes are taken apart into the values a target needs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace taiju::fuzz {

inline void require(bool promise) {
    if (!promise)
        std::abort();
}

// Reads the fuzzer's bytes front to back; past the end every read gives 0.
class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    char16_t unit() { return static_cast<char16_t>(byte() | byte() << 8); }
    // The rest as UTF-16 units, two bytes each, low byte first.
    std::u16string restAsUtf16() {
        std::u16string s;
        while (pos_ + 1 < size_)
            s.push_back(unit());
        pos_ = size_;
        return s;
    }
    // The rest as bytes.
    std::string restAsBytes() {
        std::string s(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return s;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace taiju::fuzz
