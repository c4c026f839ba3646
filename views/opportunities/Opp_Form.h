// The opportunity form as other pages see it: a record form (g_Opp_Detail)
// to hand lists to and to have show its record again. It keeps no link of
// its own for others to set.
#pragma once

#include "shell/RecordFormClass.h"

RecordFormClass* OpportunityForm();
