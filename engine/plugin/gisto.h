// SPDX-License-Identifier: GPL-2.0-or-later
// Channel histogram: raw and smoothed 256-bin counts of red, green and blue,
// and the analysis that finds each channel's dark end (start), bright end
// (end) and median on the smoothed counts.
#pragma once

#include <cstdint>

namespace kelvra {

class gisto {
public:
    gisto();

    void SetLevel(int32_t clip_strength) { level = clip_strength; }
    void SetLevel_k(int32_t threshold) { level_k = threshold; }
    void SetCadrov(int32_t pixel_count) { Cadrov = pixel_count; }

    void SetRGB(int32_t r, int32_t g, int32_t b) {
        ++GisR[r];
        ++GisG[g];
        ++GisB[b];
    }
    // Bulk form of SetRGB for counts gathered elsewhere; adds bin by bin.
    void AddCounts(const int32_t* r, const int32_t* g, const int32_t* b);

    void starting();

    int32_t GetGisR(int32_t i) const { return GisR[i]; }
    int32_t GetGisG(int32_t i) const { return GisG[i]; }
    int32_t GetGisB(int32_t i) const { return GisB[i]; }
    int32_t GetGisR_S(int32_t i) const { return GisR_S[i]; }
    int32_t GetGisG_S(int32_t i) const { return GisG_S[i]; }
    int32_t GetGisB_S(int32_t i) const { return GisB_S[i]; }
    int32_t GetSredR() const { return SredR; }
    int32_t GetSredG() const { return SredG; }
    int32_t GetSredB() const { return SredB; }
    int32_t GetStartR() const { return StartR; }
    int32_t GetStartG() const { return StartG; }
    int32_t GetStartB() const { return StartB; }
    int32_t GetEndR() const { return EndR; }
    int32_t GetEndG() const { return EndG; }
    int32_t GetEndB() const { return EndB; }

private:
    int32_t level = 0;
    int32_t level_k = 0;
    int32_t Cadrov = 0;
    int32_t SredR = 0, SredG = 0, SredB = 0;
    int32_t GisR[256], GisG[256], GisB[256];
    int32_t GisR_S[256], GisG_S[256], GisB_S[256];
    int32_t SumR_S = 0, SumG_S = 0, SumB_S = 0;
    int32_t StartR = 0, StartG = 0, StartB = 0;
    int32_t EndR = 0, EndG = 0, EndB = 0;
};

}  // namespace kelvra
