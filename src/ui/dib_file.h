#pragma once
// The layout of a Windows bitmap file, read from its bytes, and the few
// transformations that make it safe to hand to the platform's conversion.
//
// The file is "BM" and the 14-byte file header, then the information block
// (everything from offset 14 to the end of the file): the information
// header, the colour table (or the three colour masks) and the pixel bits.
// Apart from its first two bytes the file header is not read; in particular
// the pixel bits are found from the information header, not from the file
// header's offset field.
//
// A file is accepted only when everything the platform will read lies inside
// the file:
// - the file is at least 14 bytes long, starts with "BM", and is at most
//   kDibMaxFileBytes long;
// - the information header is 40, 52, 56, 108 or 124 bytes long
//   (BITMAPINFOHEADER and its later versions) and lies inside the block; the
//   older 12-byte header is refused;
// - the width is 1 to kDibMaxDimension, the height -kDibMaxDimension to
//   kDibMaxDimension but not 0; a negative height marks top-down rows;
// - 1, 4, 8, 16, 24 or 32 bits per pixel;
// - compression none for every bit count, RLE8 with 8 bits and RLE4 with 4
//   bits (bottom-up only), bit fields with 16 or 32 bits; nothing else;
// - the colour table has biClrUsed entries, or 2 to the power of the bit
//   count when biClrUsed is 0; up to 8 bits per pixel more entries than
//   that are refused. Above 8 bits, the optional table of biClrUsed entries
//   is skipped. With bit fields and a 40-byte header the three masks follow
//   the header and come before the table;
// - the pixel bits follow the table directly. Uncompressed, all rows must
//   be in the file (each row padded to 4 bytes); a bottom-up image of at most
//   kDibMaxImageBytes. Compressed, the bits run to the end of the file or to
//   biSizeImage bytes if that is smaller and not 0.
//
// What the platform gets is never the file's own header: BuildPlatformHeader
// writes a plain 40-byte header for a bottom-up, uncompressed (or bit-field)
// picture with a full colour table, the entries the file lacks black.
// Top-down rows are turned over in place and RLE bits are decoded into a
// separate buffer, so the platform only ever reads a picture whose size it
// can compute from that header.
#include <cstddef>
#include <cstdint>

constexpr std::size_t kDibFileHeaderBytes = 14;
constexpr int kDibMaxDimension = 32767;
constexpr std::size_t kDibMaxImageBytes = 64u * 1024 * 1024;
constexpr std::size_t kDibMaxFileBytes = 128u * 1024 * 1024;
// A 40-byte header and 256 colour table entries (or three masks).
constexpr std::size_t kDibPlatformHeaderMax = 40 + 256 * 4;

enum DibCompression : std::uint32_t {
    kDibRgb = 0,
    kDibRle8 = 1,
    kDibRle4 = 2,
    kDibBitfields = 3,
};

struct DibColour {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

struct DibLayout {
    int width = 0;
    int height = 0;        // number of rows, always positive
    bool topDown = false;  // the file's biHeight was negative
    int bitCount = 0;
    std::uint32_t compression = kDibRgb;
    std::size_t headerSize = 0;
    std::size_t colourCount = 0;   // entries of the file's colour table
    std::size_t colourOffset = 0;  // in the information block
    std::size_t bitsOffset = 0;    // in the information block
    std::size_t bitsSize = 0;      // bytes of pixel bits in the file
    std::size_t stride = 0;        // bytes of one decoded row
    std::size_t imageSize = 0;     // bytes of the decoded picture: stride * height

    bool IsCompressed() const { return compression == kDibRle8 || compression == kDibRle4; }
    // Pictures of up to 8 bits per pixel have a palette.
    bool HasPalette() const { return bitCount <= 8; }
};

// True when the 14 bytes of a file header start with "BM".
bool IsBitmapFileHeader(const unsigned char* bytes, std::size_t size);
// False for a file too short or too long to be taken at all.
bool AcceptableBitmapFileLength(std::uint64_t length);

// Why a file is refused: the first rule above that it breaks.
enum DibRefusal {
    kDibHeaderCut,       // the information header does not fit in the file
    kDibHeaderSize,      // an information header of another size
    kDibWidth,           // width not 1 to kDibMaxDimension
    kDibHeight,          // height 0 or beyond kDibMaxDimension
    kDibBitCount,        // not 1, 4, 8, 16, 24 or 32 bits per pixel
    kDibCompression,     // a compression that does not fit the bit count
    kDibColourCount,     // more colour table entries than the bit count allows
    kDibColourTableCut,  // the colour table does not fit in the file
    kDibTooLarge,        // more than kDibMaxImageBytes of pixels
    kDibNoBits,          // compressed, and no bits
    kDibBitsCut,         // uncompressed, and rows missing
};

// Reads the information block (the file from offset 14 on) by the rules
// above; false when the file is refused, and then, when `refusal` is given,
// it receives why.
bool ParseDibInfo(const unsigned char* info, std::size_t size, DibLayout* layout,
                  DibRefusal* refusal = nullptr);

// The colour table as palette entries: layout.colourCount entries (none
// above 8 bits per pixel). Returns the number written to `out`, which has
// room for 256.
std::size_t ReadDibPalette(const unsigned char* info, const DibLayout& layout, DibColour* out);

// Writes the header and colour table (or masks) that the platform gets, as a
// BITMAPINFO, into `out` (kDibPlatformHeaderMax bytes); returns its length.
std::size_t BuildPlatformHeader(const unsigned char* info, const DibLayout& layout,
                                unsigned char* out);

// The pixel bits in the form that BuildPlatformHeader describes. Uncompressed
// bits stay in the information block (which is why it is not const): a
// top-down picture is turned over there. Compressed bits are decoded into
// `decoded`, which must hold layout.imageSize bytes; when null, so is the
// result for a compressed picture.
const unsigned char* PrepareDibBits(unsigned char* info, const DibLayout& layout,
                                    unsigned char* decoded);

// Decodes RLE8 or RLE4 bits into a bottom-up picture of `height` rows of
// `stride` bytes. Pixels outside the picture are dropped, pixels that the data
// never reaches stay as they are; the decoder reads only `size` bytes.
void DecodeDibRle(const unsigned char* data, std::size_t size, int bitCount, int width, int height,
                  std::size_t stride, unsigned char* out);
