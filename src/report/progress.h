// Progress of the long core operations (report preparation, report building) on the wait
// window, which they drive through the widget-free WaitProgress; a null pointer means no wait
// window at all (command line, benchmarks).
#pragma once

#include "platform/wait_progress.h"

#include <QtGlobal>

// i * 100 / count rounded to the nearest integer, halves to even: the progress position of
// record i of count.
inline int ProgressPercent(qint64 i, qint64 count)
{
    if (count <= 0)
        return 0;
    const qint64 num = i * 100;
    qint64 q = num / count;
    const qint64 twiceRest = 2 * (num % count);
    if (twiceRest > count || (twiceRest == count && (q & 1)))
        ++q;
    return static_cast<int>(q);
}
