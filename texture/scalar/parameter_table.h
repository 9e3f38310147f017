#pragma once

#include "texture/scalar/parameterised.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tex {

// A class's named parameters together with the members they set: the one
// place where a parameter's name, kind, range and default are written. The
// members start at the defaults (Parameterised::useParameters), and the
// by-name operations of Parameterised read and write them through the table.
//
// A derived class's table extends its base class's: its list is the base's
// list followed by its own entries, and a name is looked up among its own
// entries first, in order, then in the base's table. A class keeps its table
// in a function's static, so that it is built once, at its first use, and
// can be read without an object (the catalogue lists it):
//
//     const ParameterTable& BGainer::parameterTable()
//     {
//         static const ParameterTable table(Basis::parameterTable(), {
//             ParameterTable::real("gain", 0.0, 1.0, 0.5, &BGainer::gain, "what it does"),
//         });
//         return table;
//     }
//
// and its constructor calls useParameters(parameterTable()).
class ParameterTable {
public:
    using RealMember = double Parameterised::*;
    using IntMember = std::int32_t Parameterised::*;

    // One parameter and the member it sets: realMember for a real parameter,
    // intMember for an integer one; the other is null.
    struct Entry {
        ParameterInfo info;
        RealMember realMember;
        IntMember intMember;
    };

    // The real parameter `name`, held by `member` of Owner; `description`
    // says in a line what it does.
    template <typename Owner>
    static Entry real(const char* name, double min, double max, double defaultValue, double Owner::*member,
                      const char* description = "")
    {
        return Entry{ParameterInfo::real(name, min, max, defaultValue, description), static_cast<RealMember>(member),
                     nullptr};
    }

    // The integer parameter `name`, held by `member` of Owner.
    template <typename Owner>
    static Entry integer(const char* name, int min, int max, int defaultValue, std::int32_t Owner::*member,
                         const char* description = "")
    {
        return Entry{ParameterInfo::integer(name, min, max, defaultValue, description), nullptr,
                     static_cast<IntMember>(member)};
    }

    // No parameters.
    ParameterTable();
    // A class whose base has no table: its own entries only.
    explicit ParameterTable(std::initializer_list<Entry> own);
    // The entries of `base`, which must outlive this table, then `own`.
    ParameterTable(const ParameterTable& base, std::initializer_list<Entry> own);
    ParameterTable(const ParameterTable&) = delete;
    ParameterTable& operator=(const ParameterTable&) = delete;

    // The descriptors of the base's entries, then of the own ones.
    const ParameterList& list() const { return descriptors; }

    // Sets the members of the own entries of `object` to their defaults.
    void startAtDefaults(Parameterised& object) const;

    // The first entry named `name` of the kind given (ParameterInfo::realKind
    // or integerKind): own entries first, then the base's; null if none.
    const Entry* find(const std::string& name, std::int32_t kind) const;
    // The entry whose descriptor is `info`, an element of list(); null for
    // anything else. Found by its place in the list, not by name.
    const Entry* entryFor(const ParameterInfo& info) const;

private:
    const ParameterTable* base = nullptr;
    std::vector<Entry> own;
    ParameterList descriptors;
};

} // namespace tex
