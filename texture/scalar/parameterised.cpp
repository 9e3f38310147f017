#include "texture/scalar/parameterised.h"

#include "texture/scalar/parameter_table.h"

namespace tex {

ParameterInfo ParameterInfo::real(const char* name, double min, double max, double defaultValue)
{
    ParameterInfo info;
    info.name = name;
    info.kind = realKind;
    info.min.realValue = min;
    info.max.realValue = max;
    info.defaultValue.realValue = defaultValue;
    return info;
}

ParameterInfo ParameterInfo::integer(const char* name, int min, int max, int defaultValue)
{
    ParameterInfo info;
    info.name = name;
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
