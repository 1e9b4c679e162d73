#pragma once
// The input-graphic page's two small areas, drawn on a diagram object laid out as a
// millimetre grid: the heading strip over the tables with the groundwater level of
// each side, and the legend under the section with the flow line's sample.
class Guard;
class clsGRAFIK;

// How far (mm) a level's number ends further right, so that its longer text keeps
// clear of "z = ": 3 above 100, 2 above 10 up to 100, else 0 (negative levels too).
float LevelShift(float level);
// "Linke Seite", "Rechte Seite", "Tremolspiegelhöhe" and "z = " level "m" per side,
// each text one step of g; the font goes back to the defaults after.
void DrawHeadingStrip(Guard& g, clsGRAFIK& d, float ZGWLS, float ZGWRS);
// "Stromlinie" beside a dashed green sample line, as the section draws the flow lines.
void DrawLegend(Guard& g, clsGRAFIK& d);
