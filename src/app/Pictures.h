#pragma once
// The program's pictures, drawn once at run time: the suite's icon, the
// institution's logo and the start window's picture of a sheet-pile wall in
// flowing groundwater.
#include <QIcon>
#include <QPixmap>

QIcon SuiteIcon();              // 32 x 32
QPixmap InstitutionLogo();      // 100 x 100
QPixmap SheetPileWallPicture(); // 1015 x 510
