// The task form as other pages see it: a record form (g_Tas_Detail) to hand
// lists to and to have show its record again. It takes a linked account,
// opportunity or contact for the task being entered (linked when it is
// saved), the record's name becoming the task's subject; its title field is
// the subject.
#pragma once

#include "shell/RecordFormClass.h"

RecordFormClass* TaskForm();
