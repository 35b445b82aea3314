// Builds a few indicators through the registry and prints their values over sample candles.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "indicators/core/registry.hpp"

namespace {

struct Feature {
    std::string name;
    std::vector<double> params;
};

std::vector<ostrel::Candle> read_csv(const char* path) {
    std::vector<ostrel::Candle> out;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);  // header: ts,open,high,low,close,volume
    while (std::getline(in, line)) {
        std::istringstream row(line);
        ostrel::Candle c;
        char comma;
        row >> c.ts >> comma >> c.open >> comma >> c.high >> comma >> c.low >> comma >> c.close >> comma >> c.volume;
        if (row) out.push_back(c);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: ostrel_demo CANDLES.csv\n";
        return 2;
    }
    const auto candles = read_csv(argv[1]);
    const std::vector<Feature> features{{"Sma", {5}}, {"Sma", {20}}};
    std::vector<std::unique_ptr<ostrel::Indicator>> indicators;
    std::cout << "ts,close";
    for (const auto& f : features) {
        auto made = ostrel::create_indicator(f.name, f.params);
        if (!made) {
            std::cerr << made.error().display() << '\n';
            return 1;
        }
        indicators.push_back(std::move(*made));
        std::cout << ',' << f.name << '(';
        for (std::size_t i = 0; i < f.params.size(); ++i) std::cout << (i ? ";" : "") << f.params[i];
        std::cout << ')';
    }
    std::cout << '\n';
    for (const auto& c : candles) {
        ostrel::StepView step;
        step.candle = c;
        std::cout << c.ts << ',' << c.close;
        for (auto& ind : indicators) {
            const auto v = ind->update(step);
            std::cout << ',';
            if (v) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.6f", *v);
                std::cout << buf;
            }
        }
        std::cout << '\n';
    }
    return 0;
}
