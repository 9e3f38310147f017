#pragma once

#include "texture/colour/colour_basis.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// A colour function with a fixed colour that appends its name to a shared
// call log and reports its destruction.
class ProbeColour : public tex::ColourBasis {
public:
    explicit ProbeColour(tex::Colour fixed, std::string name = "", std::vector<std::string>* log = nullptr,
                         bool* destroyed = nullptr)
        : fixed(fixed), name(std::move(name)), log(log), destroyed(destroyed)
    {
    }
    ~ProbeColour() override
    {
        if (destroyed)
            *destroyed = true;
    }

protected:
    tex::Colour formula(double, double, double) const override
    {
        if (log)
            log->push_back(name);
        return fixed;
    }

private:
    tex::Colour fixed;
    std::string name;
    std::vector<std::string>* log;
    bool* destroyed;
};

inline void expectColour(const tex::Colour& actual, double r, double g, double b, double a, double tolerance = 0)
{
    if (tolerance == 0) {
        EXPECT_EQ(actual.r, r);
        EXPECT_EQ(actual.g, g);
        EXPECT_EQ(actual.b, b);
        EXPECT_EQ(actual.a, a);
    } else {
        EXPECT_NEAR(actual.r, r, tolerance);
        EXPECT_NEAR(actual.g, g, tolerance);
        EXPECT_NEAR(actual.b, b, tolerance);
        EXPECT_NEAR(actual.a, a, tolerance);
    }
}
