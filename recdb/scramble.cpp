#include "recdb/scramble.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace recdb {

void UnscrambleCopy(char* dst, const char* src, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    // Loading runs at memory speed only when this is vectorised: as signed
    // bytes, 1..127 are > 0 and 128..254 are < -1; 0 and -1 (255) stay.
    const __m128i zero = _mm_setzero_si128();
    const __m128i minusOne = _mm_set1_epi8(-1);
    const __m128i shift = _mm_set1_epi8(127);
    for (; i + 16 <= n; i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i low = _mm_cmpgt_epi8(b, zero);
        const __m128i high = _mm_cmplt_epi8(b, minusOne);
        const __m128i up = _mm_and_si128(low, _mm_add_epi8(b, shift));
        const __m128i down = _mm_and_si128(high, _mm_sub_epi8(b, shift));
        const __m128i keep = _mm_andnot_si128(_mm_or_si128(low, high), b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_or_si128(_mm_or_si128(up, down), keep));
    }
#endif
    for (; i < n; ++i)
        dst[i] = char(Unscramble(uint8_t(src[i])));
}

} // namespace recdb
