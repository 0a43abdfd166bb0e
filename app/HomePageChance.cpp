#include "app/HomePageChance.h"

#include <QTime>

#include <cmath>
#include <random>

double drawWithSeed(std::uint32_t seed) {
    std::mt19937_64 generator(seed);
    // The top 53 bits make a double in [0, 1) that can never round up to 1.
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

double drawSeededByTimeOfDay() {
    const int seconds = QTime::currentTime().msecsSinceStartOfDay() / 1000;
    return drawWithSeed(static_cast<std::uint32_t>(seconds));
}

int chanceNumber(double r) {
    return static_cast<int>(std::floor(r * 100.0)) + 1;
}

void HomePageChance(const ChanceDraw& draw, const UrlOpener& open) {
    if (chanceNumber(draw()) == 7)
        open(QUrl(QString::fromLatin1(homePageAddress)));
}
