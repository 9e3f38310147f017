#include "texture/scalar/parameterised.h"

#include "texture/scalar/parameter_table.h"

namespace tex {

ParameterInfo ParameterInfo::real(const char* name, double min, double max, double defaultValue,
                                  const char* description)
{
    ParameterInfo info;
    info.name = name;
    info.description = description;
    info.kind = realKind;
    info.min.realValue = min;
    info.max.realValue = max;
    info.defaultValue.realValue = defaultValue;
    return info;
}

ParameterInfo ParameterInfo::integer(const char* name, int min, int max, int defaultValue,
                                     const char* description)
{
    ParameterInfo info;
    info.name = name;
    info.description = description;
    info.kind = integerKind;
    // Zero the whole union first, so that the bytes beyond the int are defined.
    info.min.realValue = 0;
    info.min.intValue = min;
    info.max.realValue = 0;
    info.max.intValue = max;
    info.defaultValue.realValue = 0;
    info.defaultValue.intValue = defaultValue;
    return info;
}

namespace {

const ParameterTable& noParameters()
{
    static const ParameterTable none;
    return none;
}

} // namespace

Parameterised::Parameterised() : table(&noParameters()) {}

void Parameterised::useParameters(const ParameterTable& own)
{
    table = &own;
    own.startAtDefaults(*this);
}

const ParameterList& Parameterised::parameters() const
{
    return table->list();
}

const ParameterInfo* Parameterised::findParameter(const std::string& name) const
{
    return findIn(parameters(), name);
}

void Parameterised::setParameter(const std::string& name, double value)
{
    if (const ParameterTable::Entry* entry = table->find(name, ParameterInfo::realKind))
        this->*entry->realMember = value;
}

void Parameterised::setIntParameter(const std::string& name, int value)
{
    if (const ParameterTable::Entry* entry = table->find(name, ParameterInfo::integerKind))
        this->*entry->intMember = value;
}

double Parameterised::getParameter(const std::string& name) const
{
    const ParameterTable::Entry* entry = table->find(name, ParameterInfo::realKind);
    return entry ? this->*entry->realMember : 0.0;
}

int Parameterised::getIntParameter(const std::string& name) const
{
    const ParameterTable::Entry* entry = table->find(name, ParameterInfo::integerKind);
    return entry ? this->*entry->intMember : 0;
}

bool Parameterised::setParameterValue(const ParameterInfo& info, ParameterValue value)
{
    const ParameterList& list = parameters();
    if (list.empty() || &info < list.data() || &info >= list.data() + list.size())
        return false;
    const ParameterTable::Entry* entry = table->entryFor(info);
    const bool integer = info.kind == ParameterInfo::integerKind;
    if (entry == nullptr) {
        // A class with by-name setters of its own.
        if (integer)
            setIntParameter(info.name, value.intValue);
        else
            setParameter(info.name, value.realValue);
    } else if (integer) {
        this->*entry->intMember = value.intValue;
    } else {
        this->*entry->realMember = value.realValue;
    }
    return true;
}

const ParameterInfo* Parameterised::findIn(const ParameterList& list, const std::string& name)
{
    for (const ParameterInfo& info : list) {
        if (info.name == name)
            return &info;
    }
    return nullptr;
}

ParameterList Parameterised::extend(const ParameterList& base, std::initializer_list<ParameterInfo> own)
{
    ParameterList list(base);
    list.insert(list.end(), own.begin(), own.end());
    return list;
}

} // namespace tex
