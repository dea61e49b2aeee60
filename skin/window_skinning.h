#pragma once
// Puts the windows of the calling thread under a skin: the windows that
// exist now, and those the thread creates later below them, as well as its
// dialog boxes. Each window is subclassed; nothing about it changes but
// its colours and its drawing.
#include "skin/skin_format.h"

// Draws from now on in `skin`; a second call changes to the new skin.
void AttachSkin(const Skin& skin);
