#include "texture/scalar/parameterised.h"

namespace tex {

ParameterInfo ParameterInfo::real(const char* name, double min, double max, double defaultValue)
{
    ParameterInfo info;
    info.name = name;
    info.kind = 1;
    info.min.realValue = min;
    info.max.realValue = max;
    info.defaultValue.realValue = defaultValue;
    return info;
}

ParameterInfo ParameterInfo::integer(const char* name, int min, int max, int defaultValue)
{
    ParameterInfo info;
    info.name = name;
    info.kind = 0;
    // Zero the whole union first, so that the bytes beyond the int are defined.
    info.min.realValue = 0;
    info.min.intValue = min;
    info.max.realValue = 0;
    info.max.intValue = max;
    info.defaultValue.realValue = 0;
    info.defaultValue.intValue = defaultValue;
    return info;
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
