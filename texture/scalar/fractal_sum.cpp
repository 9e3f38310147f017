#include "texture/scalar/fractal_sum.h"

#include "texture/scalar/parameter_table.h"

namespace tex {

FractalSum::FractalSum(int inputCount) : Basis(inputCount)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::integer("octaves", 1, 16, 8, &FractalSum::octaves),
        ParameterTable::real("lacunarity", 0.01, 4.0, 2.0, &FractalSum::lacunarity),
    });
    useParameters(table);
}

FractalSum::FractalSum(int inputCount, int octaves) : FractalSum(inputCount)
{
    this->octaves = octaves;
}

} // namespace tex
