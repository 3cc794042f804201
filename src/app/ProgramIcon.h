#pragma once
// The program's icon, drawn once: a grey ramp with the dots of a point file over it.

#include <QIcon>

QIcon programIcon();
