#include "bitmap_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

template <class Field>
void PutField(uint8_t* bytes, uint32_t offset, Field value) {
    const auto bits = static_cast<uint32_t>(value);
    for (uint32_t i = 0; i < sizeof(Field); i++) bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

template <class Field>
void GetField(const uint8_t* bytes, uint32_t offset, Field& value) {
    uint32_t bits = 0;
    for (uint32_t i = 0; i < sizeof(Field); i++) bits |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    value = static_cast<Field>(bits);
}

template <class... Args>
bool Refuse(TFaultText& fault, const char* format, Args... args) {
    std::snprintf(fault.data(), fault.size(), format, args...);
    return false;
}

uint64_t ImageEnd(const TBitmapHeader& h) {
    return BitmapHeaderSize + BitmapRowBytes(h.Width) * static_cast<uint64_t>(h.Height);
}

// Reads until count bytes are in or the file ends; the bytes read.
size_t ReadFully(int fd, uint8_t* to, size_t count, int& error) {
    size_t done = 0;
    error = 0;
    while (done < count) {
        ssize_t got = read(fd, to + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = errno;
            break;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace

void EncodeBitmapHeader(const TBitmapHeader& header, uint8_t* bytes) {
    VisitBitmapHeader(header, [bytes](uint32_t offset, auto value) { PutField(bytes, offset, value); });
}

void DecodeBitmapHeader(const uint8_t* bytes, TBitmapHeader& header) {
    VisitBitmapHeader(header, [bytes](uint32_t offset, auto& value) { GetField(bytes, offset, value); });
}

std::vector<uint8_t> EncodeBitmap(int32_t width, int32_t height, TPixelSource pixel) {
    const uint64_t rowBytes = BitmapRowBytes(width);
    TBitmapHeader h{};
    h.Signature = BitmapSignature;
    h.DataOffset = BitmapHeaderSize;
    h.InfoSize = BitmapInfoSize;
    h.Width = width;
    h.Height = height;
    h.Planes = 1;
    h.BitsPerPixel = 24;
    h.ImageSize = static_cast<uint32_t>(rowBytes * static_cast<uint64_t>(height));
    h.FileSize = BitmapHeaderSize + h.ImageSize;
    h.XPixelsPerMetre = h.YPixelsPerMetre = 2835;  // 72 dots per inch
    std::vector<uint8_t> bytes(h.FileSize, 0);
    EncodeBitmapHeader(h, bytes.data());
    for (int32_t y = 0; y < height; y++) {
        // The file holds the bottom row first.
        uint8_t* row = bytes.data() + BitmapHeaderSize + rowBytes * static_cast<uint64_t>(height - 1 - y);
        for (int32_t x = 0; x < width; x++) {
            const uint32_t rgb = pixel(x, y);
            row[3 * x] = static_cast<uint8_t>(rgb);
            row[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
        }
    }
    return bytes;
}

bool CheckBitmapHeader(const uint8_t* bytes, uint64_t fileSize, TBitmapHeader& h, TFaultText& fault) {
    fault[0] = 0;
    if (fileSize < BitmapHeaderSize)
        return Refuse(fault, "it has %llu bytes, fewer than the 54-byte header",
                      static_cast<unsigned long long>(fileSize));
    DecodeBitmapHeader(bytes, h);
    if (h.Signature != BitmapSignature) return Refuse(fault, "it does not start with \"BM\"");
    if (h.DataOffset != BitmapHeaderSize)
        return Refuse(fault, "its pixels start at byte %u, not 54", h.DataOffset);
    if (h.InfoSize != BitmapInfoSize)
        return Refuse(fault, "its info header has %u bytes, not 40", h.InfoSize);
    if (h.Planes != 1) return Refuse(fault, "it has %u colour planes, not 1", unsigned(h.Planes));
    if (h.BitsPerPixel != 24)
        return Refuse(fault, "it has %u bits per pixel, not 24", unsigned(h.BitsPerPixel));
    if (h.Compression != 0) return Refuse(fault, "it is compressed (method %u)", h.Compression);
    if (h.Width < 1 || h.Width > BitmapSideLimit)
        return Refuse(fault, "its width %d is outside 1..8192", int(h.Width));
    if (h.Height < 1 || h.Height > BitmapSideLimit)
        return Refuse(fault, "its height %d is outside 1..8192", int(h.Height));
    // Both sides are at most 8192, so this cannot overflow 64 bits.
    if (ImageEnd(h) > fileSize)
        return Refuse(fault, "its %d x %d pixels need %llu bytes but the file has %llu", int(h.Width),
                      int(h.Height), static_cast<unsigned long long>(ImageEnd(h)),
                      static_cast<unsigned long long>(fileSize));
    return true;
}

bool ParseBitmap(const uint8_t* bytes, size_t size, TBitmapImage& image, TFaultText& fault) {
    TBitmapHeader h;
    if (!CheckBitmapHeader(bytes, size, h, fault)) return false;
    image.Width = h.Width;
    image.Height = h.Height;
    image.Bytes.assign(bytes, bytes + ImageEnd(h));
    return true;
}

bool ReadBitmapFile(const char* path, TBitmapImage& image, TFaultText& fault) {
    fault[0] = 0;
    // Non-blocking, so that a FIFO in its place cannot hold the program up.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return Refuse(fault, "there is no such file");
        return Refuse(fault, "it cannot be opened: %s", std::strerror(errno));
    }
    struct stat st;
    bool ok = false;
    int error = 0;
    std::array<uint8_t, BitmapHeaderSize> header{};
    TBitmapHeader h;
    if (fstat(fd, &st) != 0) {
        Refuse(fault, "it cannot be examined: %s", std::strerror(errno));
    } else if (S_ISDIR(st.st_mode)) {
        Refuse(fault, "it is a directory, not a file");
    } else if (!S_ISREG(st.st_mode)) {
        Refuse(fault, "it is not a regular file");
    } else {
        const uint64_t size = static_cast<uint64_t>(st.st_size);
        const size_t got = ReadFully(fd, header.data(), BitmapHeaderSize, error);
        if (error) {
            Refuse(fault, "it cannot be read: %s", std::strerror(error));
        } else if (CheckBitmapHeader(header.data(), got < BitmapHeaderSize ? got : size, h, fault)) {
            // Only the header and the rows it describes are kept; bytes after
            // them are never looked at.
            const uint64_t end = ImageEnd(h);
            image.Width = h.Width;
            image.Height = h.Height;
            image.Bytes.assign(end, 0);
            std::memcpy(image.Bytes.data(), header.data(), BitmapHeaderSize);
            const size_t rows = end - BitmapHeaderSize;
            const size_t gotRows = ReadFully(fd, image.Bytes.data() + BitmapHeaderSize, rows, error);
            if (error)
                Refuse(fault, "it cannot be read: %s", std::strerror(error));
            else if (gotRows < rows)
                Refuse(fault, "it ended after %llu of its %llu bytes",
                       static_cast<unsigned long long>(BitmapHeaderSize + gotRows),
                       static_cast<unsigned long long>(end));
            else
                ok = true;
            if (!ok) image = TBitmapImage{};
        }
    }
    close(fd);
    return ok;
}

bool WriteBitmapFile(const char* path, const std::vector<uint8_t>& bytes, TFaultText& fault) {
    fault[0] = 0;
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return Refuse(fault, "it cannot be created: %s", std::strerror(errno));
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) return Refuse(fault, "it cannot be written: %s", std::strerror(errno));
    return true;
}

void SwapBitmapToRgb(TBitmapImage& image) {
    const uint64_t rowBytes = BitmapRowBytes(image.Width);
    for (int32_t y = 0; y < image.Height; y++) {
        uint8_t* row = image.Pixels() + rowBytes * static_cast<uint64_t>(y);
        for (int32_t x = 0; x < image.Width; x++) {
            const uint8_t blue = row[3 * x];
            row[3 * x] = row[3 * x + 2];
            row[3 * x + 2] = blue;
        }
    }
}
