#pragma once
// Draws the controls that the skin paints in full: push buttons, group
// boxes and tab controls, and the flat borders of the sunken controls.
// `around` is the colour of the parent behind the control.
#include <windows.h>

#include "skin/skin_look.h"

void PaintButton(HDC dc, HWND button, const SkinLook& look, COLORREF around, bool hot);
void PaintGroupBox(HDC dc, HWND box, const SkinLook& look, COLORREF around);
void PaintTabControl(HDC dc, HWND tabs, const SkinLook& look, COLORREF around);
// Redraws the sunken border of a control with a client or static edge as
// a flat line, with `inside` between the line and the content.
void PaintEdge(HWND control, const SkinLook& look, COLORREF inside);
