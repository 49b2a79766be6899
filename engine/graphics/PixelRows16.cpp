// The fast 16-bit row loops. Where the processor has SSE2 (every x86-64 one),
// the blends work on eight RGB565 words at once, one field per pass in 16-bit
// lanes; the copies and fills are plain loops the compiler vectorises. Every
// function gives the same bits as its twin in PixelRowsReference16.cpp; the
// pixels a loop of eight leaves over go through that twin.
#include "engine/graphics/PixelRows16.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::pixel16 {

void copyRow(std::uint16_t* target, const std::uint16_t* source, int count) {
    // memmove: an image may be drawn onto itself.
    std::memmove(target, source, static_cast<std::size_t>(count) * sizeof(std::uint16_t));
}

void fillOpaqueRow(std::uint16_t* target, int count, std::uint16_t colour) {
    for (int i = 0; i < count; ++i) {
        target[i] = colour;
    }
}

#if defined(__SSE2__)

namespace {

constexpr int kStep = 8;
constexpr int kAllLanes = 0xFFFF;
// The movemask bits of the first and of the second group of four lanes.
constexpr int kFirstGroup = 0x00FF;
constexpr int kSecondGroup = 0xFF00;

__m128i load8(const std::uint16_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

void store8(std::uint16_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Eight plane bytes widened to 16-bit lanes.
__m128i loadPlane8(const std::uint8_t* p) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                             _mm_setzero_si128());
}

// floor(a * g / 256) per lane; the product (at most 255 * 255) fits an
// unsigned 16-bit lane, so the logical shift is exact.
__m128i weights(__m128i a, __m128i g16) {
    return _mm_srli_epi16(_mm_mullo_epi16(a, g16), 8);
}

bool allZero(__m128i lanes) {
    return _mm_movemask_epi8(_mm_cmpeq_epi16(lanes, _mm_setzero_si128())) == kAllLanes;
}

// One field of eight words moved down to bit 0.
template <int shift, int mask>
__m128i field(__m128i words) {
    return _mm_srli_epi16(_mm_and_si128(words, _mm_set1_epi16(static_cast<short>(mask))), shift);
}

// lerp of one field: d + floor((x - d) * w / 256). The product (a field
// difference of at most 63 by a weight of at most 255) fits a signed lane.
__m128i lerpField(__m128i d, __m128i x, __m128i w) {
    return _mm_add_epi16(d, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(x, d), w), 8));
}

__m128i lerpWords(__m128i d, __m128i x, __m128i w) {
    const __m128i red = lerpField(field<11, 0xF800>(d), field<11, 0xF800>(x), w);
    const __m128i green = lerpField(field<5, 0x07E0>(d), field<5, 0x07E0>(x), w);
    const __m128i blue = lerpField(field<0, 0x001F>(d), field<0, 0x001F>(x), w);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(red, 11), _mm_slli_epi16(green, 5)), blue);
}

// min(maximum, d + floor(s * w / 256)) for one field; s * w is at most
// 63 * 254, positive, so the logical shift is the floor.
template <int maximum>
__m128i addField(__m128i d, __m128i s, __m128i w) {
    const __m128i sum = _mm_add_epi16(d, _mm_srli_epi16(_mm_mullo_epi16(s, w), 8));
    return _mm_min_epi16(sum, _mm_set1_epi16(maximum));
}

__m128i addWords(__m128i d, __m128i s, __m128i w) {
    const __m128i red = addField<31>(field<11, 0xF800>(d), field<11, 0xF800>(s), w);
    const __m128i green = addField<63>(field<5, 0x07E0>(d), field<5, 0x07E0>(s), w);
    const __m128i blue = addField<31>(field<0, 0x001F>(d), field<0, 0x001F>(s), w);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(red, 11), _mm_slli_epi16(green, 5)), blue);
}

__m128i select(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

} // namespace

void copyAlphaRow(std::uint16_t* target, const std::uint16_t* source, int count, int g) {
    const __m128i w = _mm_set1_epi16(static_cast<short>(g));
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        store8(target + i, lerpWords(load8(target + i), load8(source + i), w));
    }
    reference::copyAlphaRow(target + i, source + i, count - i, g);
}

void blendNormalRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                    int count) {
    const __m128i opaque = _mm_set1_epi16(255);
    int i = 0;
    // Steps of eight start at multiples of four, so each holds two whole groups.
    for (; i + kStep <= count; i += kStep) {
        const __m128i a = loadPlane8(plane + i);
        if (allZero(a)) {
            continue;
        }
        const __m128i s = load8(source + i);
        const int opaqueLanes = _mm_movemask_epi8(_mm_cmpeq_epi16(a, opaque));
        if (opaqueLanes == kAllLanes) {
            store8(target + i, s);
            continue;
        }
        __m128i result = lerpWords(load8(target + i), s, a);
        const bool firstOpaque = (opaqueLanes & kFirstGroup) == kFirstGroup;
        const bool secondOpaque = (opaqueLanes & kSecondGroup) == kSecondGroup;
        if (firstOpaque || secondOpaque) {
            const __m128i copied = _mm_set_epi64x(secondOpaque ? -1 : 0, firstOpaque ? -1 : 0);
            result = select(copied, s, result);
        }
        store8(target + i, result);
    }
    reference::blendNormalRow(target + i, source + i, plane + i, count - i);
}

void blendNormalAlphaRow(std::uint16_t* target, const std::uint16_t* source,
                         const std::uint8_t* plane, int count, int g) {
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        const __m128i w = weights(loadPlane8(plane + i), g16);
        if (allZero(w)) {
            continue;
        }
        store8(target + i, lerpWords(load8(target + i), load8(source + i), w));
    }
    reference::blendNormalAlphaRow(target + i, source + i, plane + i, count - i, g);
}

void blendAdditiveRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                      int count, int g) {
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        const __m128i w = weights(loadPlane8(plane + i), g16);
        if (allZero(w)) {
            continue;
        }
        store8(target + i, addWords(load8(target + i), load8(source + i), w));
    }
    reference::blendAdditiveRow(target + i, source + i, plane + i, count - i, g);
}

void drawMaskedRow(std::uint16_t* target, const std::uint8_t* mask, int count, std::uint16_t colour,
                   int g) {
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    const __m128i k = _mm_set1_epi16(static_cast<short>(colour));
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        const __m128i w = weights(loadPlane8(mask + i), g16);
        if (allZero(w)) {
            continue;
        }
        store8(target + i, lerpWords(load8(target + i), k, w));
    }
    reference::drawMaskedRow(target + i, mask + i, count - i, colour, g);
}

void fillAlphaRow(std::uint16_t* target, int count, std::uint16_t colour, int g) {
    const __m128i w = _mm_set1_epi16(static_cast<short>(g));
    const __m128i k = _mm_set1_epi16(static_cast<short>(colour));
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        store8(target + i, lerpWords(load8(target + i), k, w));
    }
    reference::fillAlphaRow(target + i, count - i, colour, g);
}

#else // no SSE2: the reference loops are the fast ones too

void copyAlphaRow(std::uint16_t* target, const std::uint16_t* source, int count, int g) {
    reference::copyAlphaRow(target, source, count, g);
}

void blendNormalRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                    int count) {
    reference::blendNormalRow(target, source, plane, count);
}

void blendNormalAlphaRow(std::uint16_t* target, const std::uint16_t* source,
                         const std::uint8_t* plane, int count, int g) {
    reference::blendNormalAlphaRow(target, source, plane, count, g);
}

void blendAdditiveRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                      int count, int g) {
    reference::blendAdditiveRow(target, source, plane, count, g);
}

void drawMaskedRow(std::uint16_t* target, const std::uint8_t* mask, int count, std::uint16_t colour,
                   int g) {
    reference::drawMaskedRow(target, mask, count, colour, g);
}

void fillAlphaRow(std::uint16_t* target, int count, std::uint16_t colour, int g) {
    reference::fillAlphaRow(target, count, colour, g);
}

#endif

} // namespace orv::pixel16
