#include "texture/scalar/parameter_table.h"

namespace tex {

ParameterTable::ParameterTable() = default;

ParameterTable::ParameterTable(std::initializer_list<Entry> own) : own(own)
{
    for (const Entry& entry : own)
        descriptors.push_back(entry.info);
}

ParameterTable::ParameterTable(const ParameterTable& base, std::initializer_list<Entry> own)
    : ParameterTable(own)
{
    this->base = &base;
    descriptors.insert(descriptors.begin(), base.descriptors.begin(), base.descriptors.end());
}

void ParameterTable::startAtDefaults(Parameterised& object) const
{
    for (const Entry& entry : own) {
        if (entry.info.kind == ParameterInfo::realKind)
            object.*entry.realMember = entry.info.defaultValue.realValue;
        else
            object.*entry.intMember = entry.info.defaultValue.intValue;
    }
}

const ParameterTable::Entry* ParameterTable::find(const std::string& name, std::int32_t kind) const
{
    for (const Entry& entry : own) {
        if (entry.info.kind == kind && entry.info.name == name)
            return &entry;
    }
    return base ? base->find(name, kind) : nullptr;
}

const ParameterTable::Entry* ParameterTable::entryFor(const ParameterInfo& info) const
{
    if (descriptors.empty() || &info < descriptors.data() || &info >= descriptors.data() + descriptors.size())
        return nullptr;
    const std::size_t index = std::size_t(&info - descriptors.data());
    const std::size_t ownStart = descriptors.size() - own.size();
    if (index >= ownStart)
        return &own[index - ownStart];
    return base->entryFor(base->descriptors[index]);
}

} // namespace tex
