#include "app/HomePageChance.h"

#include <cmath>
#include <ctime>
#include <random>

double DrawWithSeed(std::uint32_t seed) {
    std::mt19937_64 generator(seed);
    // The top 53 bits make a double in [0, 1) that can never round up to 1.
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

double DrawSeededByTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    const auto seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return DrawWithSeed(static_cast<std::uint32_t>(seconds));
}

int ChanceNumber(double r) {
    return static_cast<int>(std::floor(r * 100.0)) + 1;
}

void HomePageChance(const ChanceDraw& draw,
                    const std::function<void(const std::string& address)>& open) {
    if (ChanceNumber(draw()) == 7)
        open(homePageAddress);
}
