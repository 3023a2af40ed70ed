#include "collection/ReadHooks.h"

IReadHooks& DefaultReadHooks()
{
    static IReadHooks hooks;
    return hooks;
}
