// The fast 32-bit row loops. Where the processor has SSE2 (every x86-64 one),
// the blends work on four pixels at once in 16-bit lanes; the simple copies
// and fills are plain loops the compiler vectorises. Every function gives the
// same bits as its twin in PixelRowsReference32.cpp.
#include "engine/graphics/PixelRows32.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace orv::pixel32 {

void copyRow(std::uint32_t* target, const std::uint32_t* source, int count) {
    // memmove: an image may be drawn onto itself.
    std::memmove(target, source, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
}

namespace {

// The plain copy and fill are bound by memory traffic. Their loops are
// compiled twice, for the baseline and for AVX2, and the widest one the
// processor has is picked on first use (a function pointer, not an ifunc, so
// nothing runs before the program and its sanitizers are set up).
[[gnu::always_inline]] inline void
copyOpaqueRectBody(std::uint32_t* target, std::ptrdiff_t targetStride, const std::uint32_t* source,
                   std::ptrdiff_t sourceStride, int width, int height) {
    for (int row = 0; row < height; ++row, target += targetStride, source += sourceStride) {
        for (int i = 0; i < width; ++i) {
            target[i] = (target[i] & 0xFF000000U) | (source[i] & 0x00FFFFFFU);
        }
    }
}

[[gnu::always_inline]] inline void fillOpaqueRowBody(std::uint32_t* target, int count,
                                                     std::uint32_t colour) {
    const std::uint32_t rgb = colour & 0x00FFFFFFU;
    for (int i = 0; i < count; ++i) {
        target[i] = (target[i] & 0xFF000000U) | rgb;
    }
}

void copyOpaqueRectPortable(std::uint32_t* target, std::ptrdiff_t targetStride,
                            const std::uint32_t* source, std::ptrdiff_t sourceStride, int width,
                            int height) {
    copyOpaqueRectBody(target, targetStride, source, sourceStride, width, height);
}

void fillOpaqueRowPortable(std::uint32_t* target, int count, std::uint32_t colour) {
    fillOpaqueRowBody(target, count, colour);
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"))) void
copyOpaqueRectAvx2(std::uint32_t* target, std::ptrdiff_t targetStride, const std::uint32_t* source,
                   std::ptrdiff_t sourceStride, int width, int height) {
    copyOpaqueRectBody(target, targetStride, source, sourceStride, width, height);
}

__attribute__((target("avx2"))) void fillOpaqueRowAvx2(std::uint32_t* target, int count,
                                                       std::uint32_t colour) {
    fillOpaqueRowBody(target, count, colour);
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// With byte-masked stores the target's alpha bytes are simply not written, so
// the target is never read: no more memory traffic than a plain copy.
__attribute__((target("avx512f,avx512bw"))) void copyOpaqueRectMasked(std::uint32_t* target,
                                                                      std::ptrdiff_t targetStride,
                                                                      const std::uint32_t* source,
                                                                      std::ptrdiff_t sourceStride,
                                                                      int width, int height) {
    const __mmask64 colourBytes = 0x7777777777777777ULL;
    const int whole = width & ~15;
    // The last part of a row (fewer than 16 pixels) is read and written under
    // a mask, which never touches memory outside it.
    const __mmask64 rest = (__mmask64{1} << ((width - whole) * 4)) - 1;
    for (int row = 0; row < height; ++row, target += targetStride, source += sourceStride) {
        for (int i = 0; i < whole; i += 16) {
            _mm512_mask_storeu_epi8(target + i, colourBytes, _mm512_loadu_si512(source + i));
        }
        if (whole < width) {
            _mm512_mask_storeu_epi8(target + whole, colourBytes & rest,
                                    _mm512_maskz_loadu_epi8(rest, source + whole));
        }
    }
}
#endif

using CopyRectFunction = void (*)(std::uint32_t*, std::ptrdiff_t, const std::uint32_t*,
                                  std::ptrdiff_t, int, int);

using FillRowFunction = void (*)(std::uint32_t*, int, std::uint32_t);

CopyRectFunction chooseCopyOpaqueRect() {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx512bw")) {
        return copyOpaqueRectMasked;
    }
    if (__builtin_cpu_supports("avx2")) {
        return copyOpaqueRectAvx2;
    }
#endif
    return copyOpaqueRectPortable;
}

FillRowFunction chooseFillOpaqueRow() {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2")) {
        return fillOpaqueRowAvx2;
    }
#endif
    return fillOpaqueRowPortable;
}

} // namespace

void copyOpaqueRect(std::uint32_t* target, std::ptrdiff_t targetStride, const std::uint32_t* source,
                    std::ptrdiff_t sourceStride, int width, int height) {
    static const CopyRectFunction chosen = chooseCopyOpaqueRect();
    chosen(target, targetStride, source, sourceStride, width, height);
}

void copyOpaqueRow(std::uint32_t* target, const std::uint32_t* source, int count) {
    copyOpaqueRect(target, 0, source, 0, count, 1);
}

void fillOpaqueRow(std::uint32_t* target, int count, std::uint32_t colour) {
    static const FillRowFunction chosen = chooseFillOpaqueRow();
    chosen(target, count, colour);
}

#if defined(__SSE2__)

namespace {

// Four pixels are one 128-bit register; unpacked to 16-bit lanes, the low
// half holds pixels 0 and 1 as B, G, R, A, B, G, R, A, the high half pixels 2
// and 3. A lerp weight w is spread over the four lanes of its pixel.

__m128i load4(const std::uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

void store4(std::uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

__m128i alphaMask() {
    return _mm_set1_epi32(static_cast<int>(0xFF000000U));
}

__m128i rgbMask() {
    return _mm_set1_epi32(0x00FFFFFF);
}

// floor(a * g / 256) per 32-bit lane, for the alpha byte a of each pixel. The
// product (at most 255 * 255) fits the low 16-bit half of its lane.
__m128i pixelWeights(__m128i pixels, __m128i g16) {
    return _mm_srli_epi32(_mm_mullo_epi16(_mm_srli_epi32(pixels, 24), g16), 8);
}

// The four 32-bit weights spread to the 16-bit lanes of pixels 0-1 and 2-3.
void spreadWeights(__m128i weights, __m128i& low, __m128i& high) {
    const __m128i packed = _mm_packs_epi32(weights, weights);   // w0 w1 w2 w3 w0 w1 w2 w3
    const __m128i doubled = _mm_unpacklo_epi16(packed, packed); // w0 w0 w1 w1 w2 w2 w3 w3
    low = _mm_unpacklo_epi32(doubled, doubled);
    high = _mm_unpackhi_epi32(doubled, doubled);
}

// lerp(d, x, w) in 16-bit lanes, exactly floor((x - d) * w / 256) + d:
// ((x - d) << 7) * (w << 1) is (x - d) * w * 256, and the high half of the
// signed product is that divided by 65536, rounded towards minus infinity.
// `weightTimesTwo` holds w << 1 (w at most 255, so it fits).
__m128i lerp16(__m128i d, __m128i x, __m128i weightTimesTwo) {
    const __m128i difference = _mm_slli_epi16(_mm_sub_epi16(x, d), 7);
    return _mm_add_epi16(d, _mm_mulhi_epi16(difference, weightTimesTwo));
}

// Per pixel: all ones where the pixel and its pair partner both match.
__m128i bothOfPair(__m128i mask) {
    return _mm_and_si128(mask, _mm_shuffle_epi32(mask, _MM_SHUFFLE(2, 3, 0, 1)));
}

__m128i select(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

__m128i keepTargetAlpha(__m128i result, __m128i target) {
    return _mm_or_si128(_mm_and_si128(result, rgbMask()), _mm_and_si128(target, alphaMask()));
}

constexpr int kAllLanes = 0xFFFF;

} // namespace

void copyAlphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i d = load4(target + i);
        const __m128i s = load4(source + i);
        __m128i halves[2];
        for (int h = 0; h < 2; ++h) {
            const __m128i d16 = h == 0 ? _mm_unpacklo_epi8(d, zero) : _mm_unpackhi_epi8(d, zero);
            const __m128i s16 = h == 0 ? _mm_unpacklo_epi8(s, zero) : _mm_unpackhi_epi8(s, zero);
            const __m128i sg = _mm_srli_epi16(_mm_mullo_epi16(s16, g16), 8);
            const __m128i dg = _mm_srli_epi16(_mm_mullo_epi16(d16, g16), 8);
            halves[h] = _mm_add_epi16(_mm_sub_epi16(d16, dg), sg);
        }
        // Unsigned saturation of the packing gives the min(255, ...).
        store4(target + i, _mm_packus_epi16(halves[0], halves[1]));
    }
    reference::copyAlphaRow(target + i, source + i, count - i, g);
}

void blendNormalRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    const __m128i fullWeight = _mm_set1_epi32(254);
    int i = 0;
    // Groups of four start at even pixels, so each holds two whole pairs.
    for (; i + 4 <= count; i += 4) {
        const __m128i s = load4(source + i);
        const __m128i weights = pixelWeights(s, g16);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(weights, zero)) == kAllLanes) {
            continue;
        }
        const __m128i d = load4(target + i);
        const __m128i isFull = _mm_cmpeq_epi32(weights, fullWeight);
        const int fullLanes = _mm_movemask_epi8(isFull);
        const __m128i copied = keepTargetAlpha(s, d);
        if (fullLanes == kAllLanes) {
            store4(target + i, copied);
            continue;
        }
        __m128i low;
        __m128i high;
        spreadWeights(weights, low, high);
        const __m128i resultLow =
            lerp16(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), _mm_slli_epi16(low, 1));
        const __m128i resultHigh =
            lerp16(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), _mm_slli_epi16(high, 1));
        __m128i result = keepTargetAlpha(_mm_packus_epi16(resultLow, resultHigh), d);
        if (fullLanes != 0) {
            result = select(bothOfPair(isFull), copied, result);
        }
        store4(target + i, result);
    }
    reference::blendNormalRow(target + i, source + i, count - i, g);
}

void blendAdditiveRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    const __m128i fullWeight = _mm_set1_epi32(254);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = load4(source + i);
        const __m128i weights = pixelWeights(s, g16);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(weights, zero)) == kAllLanes) {
            continue;
        }
        const __m128i d = load4(target + i);
        // The source's alpha byte adds nothing, so D.a stays as it was.
        const __m128i sourceRgb = _mm_and_si128(s, rgbMask());
        const __m128i full = _mm_adds_epu8(d, sourceRgb);
        const __m128i isFull = _mm_cmpeq_epi32(weights, fullWeight);
        const int fullLanes = _mm_movemask_epi8(isFull);
        if (fullLanes == kAllLanes) {
            store4(target + i, full);
            continue;
        }
        __m128i low;
        __m128i high;
        spreadWeights(weights, low, high);
        // S * w is at most 255 * 254: it fits an unsigned 16-bit lane.
        const __m128i addLow =
            _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(sourceRgb, zero), low), 8);
        const __m128i addHigh =
            _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(sourceRgb, zero), high), 8);
        __m128i result = _mm_adds_epu8(d, _mm_packus_epi16(addLow, addHigh));
        if (fullLanes != 0) {
            result = select(bothOfPair(isFull), full, result);
        }
        store4(target + i, result);
    }
    reference::blendAdditiveRow(target + i, source + i, count - i, g);
}

void drawMaskedRow(std::uint32_t* target, const std::uint8_t* mask, int count, std::uint32_t colour,
                   int g) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i g16 = _mm_set1_epi16(static_cast<short>(g));
    const __m128i colour16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t fourMasks = 0;
        std::memcpy(&fourMasks, mask + i, 4);
        if (fourMasks == 0) {
            continue;
        }
        const __m128i masks32 = _mm_unpacklo_epi16(
            _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(fourMasks)), zero), zero);
        const __m128i weights = _mm_srli_epi32(_mm_mullo_epi16(masks32, g16), 8);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(weights, zero)) == kAllLanes) {
            continue;
        }
        const __m128i d = load4(target + i);
        __m128i low;
        __m128i high;
        spreadWeights(weights, low, high);
        const __m128i resultLow =
            lerp16(_mm_unpacklo_epi8(d, zero), colour16, _mm_slli_epi16(low, 1));
        const __m128i resultHigh =
            lerp16(_mm_unpackhi_epi8(d, zero), colour16, _mm_slli_epi16(high, 1));
        store4(target + i, keepTargetAlpha(_mm_packus_epi16(resultLow, resultHigh), d));
    }
    reference::drawMaskedRow(target + i, mask + i, count - i, colour, g);
}

void fillAlphaRow(std::uint32_t* target, int count, std::uint32_t colour, int g) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i colour16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
    const __m128i weight = _mm_set1_epi16(static_cast<short>(g << 1));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i d = load4(target + i);
        const __m128i resultLow = lerp16(_mm_unpacklo_epi8(d, zero), colour16, weight);
        const __m128i resultHigh = lerp16(_mm_unpackhi_epi8(d, zero), colour16, weight);
        store4(target + i, keepTargetAlpha(_mm_packus_epi16(resultLow, resultHigh), d));
    }
    reference::fillAlphaRow(target + i, count - i, colour, g);
}

#else // no SSE2: the reference loops are the fast ones too

void copyAlphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    reference::copyAlphaRow(target, source, count, g);
}

void blendNormalRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    reference::blendNormalRow(target, source, count, g);
}

void blendAdditiveRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    reference::blendAdditiveRow(target, source, count, g);
}

void drawMaskedRow(std::uint32_t* target, const std::uint8_t* mask, int count, std::uint32_t colour,
                   int g) {
    reference::drawMaskedRow(target, mask, count, colour, g);
}

void fillAlphaRow(std::uint32_t* target, int count, std::uint32_t colour, int g) {
    reference::fillAlphaRow(target, count, colour, g);
}

#endif

} // namespace orv::pixel32
