// The contact form as other pages see it: a record form (g_Con_Detail) to
// hand lists to and to have show its record again. It takes a linked
// account (kLinkedAccount): the contact's 工作单位, id and name.
#pragma once

#include "shell/RecordFormClass.h"

RecordFormClass* ContactForm();
