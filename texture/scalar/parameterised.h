#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <typeinfo>
#include <vector>

namespace tex {

class ParameterTable;
struct NodeType;

// One value of a named parameter: the int member is meaningful for integer
// parameters (kind 0), the double member for real ones (kind 1).
union ParameterValue {
    std::int32_t intValue;
    double realValue;
};

// The descriptor of one named parameter. min and max are descriptive only:
// nothing checks or clamps a value against them. description says in a line
// what the parameter does, for lists and documentation (empty when none was
// given).
struct ParameterInfo {
    // The values of kind.
    static constexpr std::int32_t integerKind = 0;
    static constexpr std::int32_t realKind = 1;

    std::string name;
    std::int32_t kind;
    ParameterValue min;
    ParameterValue max;
    ParameterValue defaultValue;
    std::string description;

    static ParameterInfo real(const char* name, double min, double max, double defaultValue,
                              const char* description = "");
    static ParameterInfo integer(const char* name, int min, int max, int defaultValue,
                                 const char* description = "");
};

using ParameterList = std::vector<ParameterInfo>;

// The named-parameter protocol of every texture function. Each class keeps
// one program-wide list of descriptors; names match exactly (same length,
// same bytes). Names a class does not know are ignored by the setters and
// read as 0 by the getters, and so are names of the other kind: a real
// parameter through setIntParameter or getIntParameter, and the reverse.
// Objects are destroyed through Basis or ColourBasis, never through this
// class.
//
// The operations answer from the ParameterTable of the object's class, which
// declares each parameter once, with the member it sets (see
// parameter_table.h). A class may still override them.
//
// Threads: the program-wide lists are built at the first construction of
// each class (safely, even when threads construct at once) and never change
// after, so parameters() and findParameter may run anywhere at any time. The
// getters may run beside each other and beside evaluation; a setter must not
// run while any other thread uses the same object.
class Parameterised {
public:
    virtual const ParameterList& parameters() const;
    // The first entry of parameters() named `name`, or null.
    virtual const ParameterInfo* findParameter(const std::string& name) const;
    virtual void setParameter(const std::string& name, double value);
    virtual void setIntParameter(const std::string& name, int value);
    virtual double getParameter(const std::string& name) const;
    virtual int getIntParameter(const std::string& name) const;

    // Sets the parameter `info` describes, which must be an entry of
    // parameters() (as findParameter answers it), to `value`: its intValue
    // for an integer parameter, its realValue for a real one. The entry
    // leads straight to the member, so a caller that looked the name up once
    // does not pay for a second search. Returns false, changing nothing,
    // when `info` is not an entry of parameters(). The member is set through
    // the class's ParameterTable; an entry that no table of the class holds
    // (a class that lists its parameters itself) goes to setParameter or
    // setIntParameter by its name.
    bool setParameterValue(const ParameterInfo& info, ParameterValue value);

protected:
    // No parameters until useParameters.
    Parameterised();
    ~Parameterised() = default;

    // Called by the constructor of each class that has a table of its own:
    // from now on the by-name operations go through `table`, and the members
    // of its own entries start at their defaults.
    void useParameters(const ParameterTable& table);

    // Whether this object is of class T itself rather than of a class
    // derived from it. A library class's formulaRun computes its own
    // formula(), which a derived class may have overridden; for an object
    // of a derived class it falls back to the base's formulaRun, formula()
    // at each point.
    template <typename T>
    bool isExactly() const
    {
        return typeid(*this) == typeid(T);
    }

    // The search shared by every findParameter: first to last entry.
    static const ParameterInfo* findIn(const ParameterList& list, const std::string& name);

    // `base` followed by `own`: the list of a class that adds parameters.
    static ParameterList extend(const ParameterList& base, std::initializer_list<ParameterInfo> own);

private:
    const ParameterTable* table;
};

} // namespace tex
