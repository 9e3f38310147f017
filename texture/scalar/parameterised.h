#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tex {

// One value of a named parameter: the int member is meaningful for integer
// parameters (kind 0), the double member for real ones (kind 1).
union ParameterValue {
    std::int32_t intValue;
    double realValue;
};

// The descriptor of one named parameter. min and max are descriptive only:
// nothing checks or clamps a value against them.
struct ParameterInfo {
    std::string name;
    std::int32_t kind; // 0 integer, 1 real
    ParameterValue min;
    ParameterValue max;
    ParameterValue defaultValue;

    static ParameterInfo real(const char* name, double min, double max, double defaultValue);
    static ParameterInfo integer(const char* name, int min, int max, int defaultValue);
};

using ParameterList = std::vector<ParameterInfo>;

// The named-parameter protocol of every texture function. Each class keeps
// one program-wide list of descriptors; names match exactly (same length,
// same bytes). Names a class does not know are ignored by the setters and
// read as 0 by the getters. Objects are destroyed through Basis or
// ColourBasis, never through this class.
class Parameterised {
public:
    virtual const ParameterList& parameters() const = 0;
    // The first entry of parameters() named `name`, or null.
    virtual const ParameterInfo* findParameter(const std::string& name) const = 0;
    virtual void setParameter(const std::string& name, double value) = 0;
    virtual void setIntParameter(const std::string& name, int value) = 0;
    virtual double getParameter(const std::string& name) const = 0;
    virtual int getIntParameter(const std::string& name) const = 0;

protected:
    ~Parameterised() = default;

    // The search shared by every findParameter: first to last entry.
    static const ParameterInfo* findIn(const ParameterList& list, const std::string& name);

    // `base` followed by `own`: the list of a class that adds parameters.
    static ParameterList extend(const ParameterList& base, std::initializer_list<ParameterInfo> own);
};

} // namespace tex
