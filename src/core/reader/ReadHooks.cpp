#include "reader/ReadHooks.h"

IReadHooks& DefaultReadHooks()
{
    static IReadHooks hooks;
    return hooks;
}
