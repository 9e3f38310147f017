#pragma once

#include "texture/scalar/basis.h"

#include <array>
#include <utility>
#include <string>
#include <vector>

// A scalar field with a fixed raw value that records the points it is asked
// for, appends its name to a shared call log, and reports its destruction.
class ProbeField : public tex::Basis {
public:
    explicit ProbeField(double raw, std::string name = "", std::vector<std::string>* log = nullptr,
                        bool* destroyed = nullptr)
        : raw(raw), name(std::move(name)), log(log), destroyed(destroyed)
    {
    }
    ~ProbeField() override
    {
        if (destroyed)
            *destroyed = true;
    }

    double raw;
    // The scaled points asked for.
    mutable std::vector<std::array<double, 3>> points;

protected:
    double formula(double x, double y, double z) const override
    {
        points.push_back({x, y, z});
        if (log)
            log->push_back(name);
        return raw;
    }

private:
    std::string name;
    std::vector<std::string>* log;
    bool* destroyed;
};
