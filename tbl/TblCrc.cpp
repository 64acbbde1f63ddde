// TblCrc16: CRC-16/IBM-3740 of the text area, from tables of 16-bit remainders sixteen bytes
// at a time, or, on x86-64 processors with carry-less multiplication (PCLMULQDQ, all since
// about 2010), by folding four 16-byte lanes at once, which is about three times as fast:
// `tbltool info` takes the CRC of a whole table's text. (32-bit x86 keeps the tables: code
// called back by Windows there may find its stack aligned to 4 bytes only, too little for the
// 16-byte registers.)
#include "TblHash.h"

#include <array>

#ifdef __x86_64__
#include <immintrin.h>
#define TBL_CRC_FOLDING 1
#endif

namespace {

constexpr uint32_t Polynomial = 0x1021;  // x^16 + x^12 + x^5 + 1, the x^16 left out

// CrcTables[0] is the classic table: the CRC of byte i shifted through 8 zero bits.
// CrcTables[k][i] is the same for byte i followed by k zero bytes, so sixteen bytes can be
// folded in at once; the result is the same as a byte at a time with CrcTables[0]. The sixteen
// tables (8 KiB) stay in the first-level cache.
using CrcTableSet = std::array<std::array<uint16_t, 256>, 16>;

constexpr CrcTableSet MakeCrcTables() {
    CrcTableSet tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? (crc << 1) ^ Polynomial : crc << 1;
        tables[0][i] = static_cast<uint16_t>(crc);
    }
    for (size_t k = 1; k < tables.size(); ++k)
        for (uint32_t i = 0; i < 256; ++i) {
            const uint16_t previous = tables[k - 1][i];
            tables[k][i] = static_cast<uint16_t>((previous << 8) ^ tables[0][previous >> 8]);
        }
    return tables;
}

constexpr CrcTableSet CrcTables = MakeCrcTables();

uint16_t CrcByTables(const uint8_t* bytes, size_t length, uint32_t crc) {
    size_t i = 0;
    for (; length - i >= 16; i += 16) {
        const uint8_t* b = bytes + i;
        crc = CrcTables[15][b[0] ^ (crc >> 8)] ^ CrcTables[14][b[1] ^ (crc & 0xFF)] ^ CrcTables[13][b[2]] ^
              CrcTables[12][b[3]] ^ CrcTables[11][b[4]] ^ CrcTables[10][b[5]] ^ CrcTables[9][b[6]] ^
              CrcTables[8][b[7]] ^ CrcTables[7][b[8]] ^ CrcTables[6][b[9]] ^ CrcTables[5][b[10]] ^
              CrcTables[4][b[11]] ^ CrcTables[3][b[12]] ^ CrcTables[2][b[13]] ^ CrcTables[1][b[14]] ^
              CrcTables[0][b[15]];
    }
    for (; i < length; ++i)
        crc = ((crc << 8) & 0xFFFF) ^ CrcTables[0][((crc >> 8) ^ bytes[i]) & 0xFF];
    return static_cast<uint16_t>(crc);
}

#ifdef TBL_CRC_FOLDING

// The CRC after bytes b0..b(L-1), from the register R, is (R x^(8L) + M(x) x^16) mod P, where
// M(x) holds the bytes' bits, the first bit of b0 the highest power. So R is XORed into the
// first two bytes, and what is left is M(x) x^16 mod P. A 128-bit value A(x) = H x^64 + L
// moved on by e bits is A x^e = H x^(e+64) + L x^e, the same mod P as H k(e+64) + L k(e),
// k(e) = x^e mod P: two carry-less products of at most 80 bits. Four lanes run 64 bytes
// apart; at the end they are moved to the last lane's place and added, and the 128-bit
// remainder's own CRC from 0 is the CRC of the bytes so far.

constexpr uint64_t PowerOfX(int e) {  // x^e mod P
    uint32_t r = 1;
    for (int i = 0; i < e; ++i)
        r = (r & 0x8000u) ? ((r << 1) ^ Polynomial) & 0xFFFF : r << 1;
    return r;
}

// The constants that move a 128-bit value on by `Bits`: k(Bits + 64) high, k(Bits) low,
// worked out as the program is compiled.
template <int Bits>
__attribute__((target("pclmul,ssse3"))) __m128i MoveBy() {
    constexpr auto high = static_cast<long long>(PowerOfX(Bits + 64)), low = static_cast<long long>(PowerOfX(Bits));
    return _mm_set_epi64x(high, low);
}

__attribute__((target("pclmul,ssse3"))) __m128i MovedOn(__m128i value, __m128i move) {
    return _mm_xor_si128(_mm_clmulepi64_si128(value, move, 0x11), _mm_clmulepi64_si128(value, move, 0x00));
}

// The order of a register's bytes turned round: the first byte in memory becomes the highest.
__attribute__((target("pclmul,ssse3"))) __m128i Reversed(__m128i value) {
    return _mm_shuffle_epi8(value, _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
}

// Sixteen bytes as a 128-bit polynomial, the first byte the highest.
__attribute__((target("pclmul,ssse3"))) __m128i Block(const uint8_t* bytes) {
    return Reversed(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

// At least 64 bytes.
__attribute__((target("pclmul,ssse3"))) uint16_t CrcByFolding(const uint8_t* bytes, size_t length, uint32_t crc) {
    __m128i lane[4];
    for (int k = 0; k < 4; ++k)
        lane[k] = Block(bytes + 16 * k);
    lane[0] = _mm_xor_si128(lane[0], _mm_set_epi64x(static_cast<long long>(uint64_t{crc} << 48), 0));
    size_t done = 64;
    const __m128i by512 = MoveBy<512>();
    for (; length - done >= 64; done += 64)
        for (int k = 0; k < 4; ++k)
            lane[k] = _mm_xor_si128(MovedOn(lane[k], by512), Block(bytes + done + 16 * k));
    const __m128i by128 = MoveBy<128>();
    __m128i sum = _mm_xor_si128(_mm_xor_si128(MovedOn(lane[0], MoveBy<384>()), MovedOn(lane[1], MoveBy<256>())),
                                _mm_xor_si128(MovedOn(lane[2], by128), lane[3]));
    for (; length - done >= 16; done += 16)
        sum = _mm_xor_si128(MovedOn(sum, by128), Block(bytes + done));
    uint8_t remainder[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(remainder), Reversed(sum));
    return CrcByTables(bytes + done, length - done, CrcByTables(remainder, 16, 0));
}

bool ProcessorCanFold() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("ssse3");
}

#endif

}  // namespace

uint16_t TblCrc16(const uint8_t* bytes, size_t length, uint16_t initial) {
#ifdef TBL_CRC_FOLDING
    static const bool canFold = ProcessorCanFold();
    if (length >= 64 && canFold)
        return CrcByFolding(bytes, length, initial);
#endif
    return CrcByTables(bytes, length, initial);
}
