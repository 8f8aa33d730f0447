// The windows' design font: Tahoma 11 px (8 pt); where Tahoma is not installed, DejaVu Sans
// set a little narrower, so that captions fit the places designed for Tahoma.
#pragma once

#include <QFont>

QFont DesignFont(int pixelSize = 11);
