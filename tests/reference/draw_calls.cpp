#include "draw_calls.h"

#include <GL/gl.h>

#include <dlfcn.h>

namespace {

DrawCalls counted;

// The GL library's own entry point of that name.
template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

DrawCalls drawCallsSoFar()
{
    return counted;
}

void resetDrawCalls()
{
    counted = {};
}

extern "C" {
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    ++counted.elements;
    static const auto real = next<void (*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
    real(mode, count, type, indices);
}
void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    ++counted.arrays;
    static const auto real = next<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    real(mode, first, count);
}
void glCallList(GLuint list)
{
    ++counted.lists;
    static const auto real = next<void (*)(GLuint)>("glCallList");
    real(list);
}
void glBegin(GLenum mode)
{
    ++counted.begins;
    static const auto real = next<void (*)(GLenum)>("glBegin");
    real(mode);
}
}
