#include "discovery/SearchProgress.h"

ProgressStep ProgressTick(int position, int maximum)
{
    return {position + SearchProgressStep, position == maximum - SearchProgressStep};
}
