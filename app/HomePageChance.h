#pragma once

#include <cstdint>
#include <functional>
#include <string>

// On about one start in a hundred the program opens its home page.

inline constexpr char homePageAddress[] = "https://kestravon.example/vantrelo";

// A number r drawn uniformly from [0, 1).
using ChanceDraw = std::function<double()>;

// The draw seeded with a given seed; the same seed gives the same r.
double DrawWithSeed(std::uint32_t seed);

// The draw the program uses: seeded with the local time of day in whole
// seconds since midnight.
double DrawSeededByTimeOfDay();

// n in 1..100 from r: the whole part of r * 100, plus 1.
int ChanceNumber(double r);

// Draws once and opens the home page when n is 7.
void HomePageChance(const ChanceDraw& draw,
                    const std::function<void(const std::string& address)>& open);
