// Moving from one view to another. Exactly one view is visible at a time,
// the one g_pCurrentDialog names.
#pragma once

#include "win32.h"

class BaseDialogClass;

// The view now shown; set at the end of start-up, never null afterwards.
extern BaseDialogClass* g_pCurrentDialog;

// Guarded: nothing when pTarget is current; else show it, send uMsg, hide
// the old view, make pTarget current.
int SwitchViewGuarded(BaseDialogClass* pTarget, UINT uMsg);
// Always: as guarded, but when pTarget is current it is sent uMsg (reload).
int SwitchViewAlways(BaseDialogClass* pTarget, UINT uMsg);
// Hide-first: nothing when current; else show, hide the old view, make
// current, and only then send uMsg.
int SwitchViewHideFirst(BaseDialogClass* pTarget, UINT uMsg);
// Quick search: send uMsg first (the target builds its controls itself when
// it was never shown), then show it, hide the old view, make it current.
int SwitchViewAfterSend(BaseDialogClass* pTarget, UINT uMsg);

// Hand-overs from a page (row double-click and the like) do it in two steps:
//   BaseDialogClass* pOld = g_pCurrentDialog;
//   pTarget->ShowDialog(); ...write into pTarget...; SendMessageA(...);
//   FinishViewSwitch(pOld, pTarget);
// FinishViewSwitch hides pOld and makes pTarget current. When the receiver
// switched views itself while handling the message (g_pCurrentDialog no
// longer names pOld), that switch stands and pTarget is hidden unless it is
// the view now current.
void FinishViewSwitch(BaseDialogClass* pOld, BaseDialogClass* pTarget);

// Back (nStep -1) / Forward (+1): make the nearest older / newer history
// entry with a view current, show its view, send it UM_RESTOREVIEW, and
// hide the previous view when it is another one. 0.
int MoveInHistory(int nStep);
