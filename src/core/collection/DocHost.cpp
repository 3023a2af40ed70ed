#include "collection/DocHost.h"

IDocHost& DefaultDocHost()
{
    static IDocHost host;
    return host;
}
