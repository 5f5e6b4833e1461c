// A page's pixel memory: bytes of its own on the heap, or memory borrowed
// from whoever owns it for longer than the page lives (a true-colour page's
// screen image, from which the server reads the page itself). It offers what
// the page's users had of a byte vector; moving it is all a copy would be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

struct TPageBytes {
    uint8_t* Data = nullptr;
    size_t Size = 0;
    std::unique_ptr<uint8_t[]> Owned;  // empty while the bytes are borrowed

    // Bytes of its own, every one `value`.
    void assign(size_t size, uint8_t value) {
        Owned.reset(size ? new uint8_t[size] : nullptr);
        Data = Owned.get();
        Size = size;
        if (size) std::memset(Data, value, size);
    }
    // The memory stays its owner's: nothing is freed when the page lets go.
    void Borrow(uint8_t* memory, size_t size) {
        Owned.reset();
        Data = memory;
        Size = size;
    }
    void clear() { assign(0, 0); }

    uint8_t* data() { return Data; }
    const uint8_t* data() const { return Data; }
    size_t size() const { return Size; }
    bool empty() const { return Size == 0; }
    uint8_t& operator[](size_t i) { return Data[i]; }
    const uint8_t& operator[](size_t i) const { return Data[i]; }
    uint8_t* begin() { return Data; }
    uint8_t* end() { return Data + Size; }
    const uint8_t* begin() const { return Data; }
    const uint8_t* end() const { return Data + Size; }
};
