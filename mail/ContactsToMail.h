// The mail page as other pages see it: it takes a list of contacts.
//
// HandContactsToMail: pfnLoad loads the contacts into the mail page's contact
// object (the number of contacts, or -1 after its box), then the page gets
// UM_MAILTOLIST and becomes the current view. A failed load hands over no
// contact; without pfnLoad the mail page keeps the contacts it has. While
// the mail page sends, its contacts are left alone.
#pragma once

#include "store/Con_DetailClass.h"

template <class F>
void HandContactsToMail(F pfnLoad);
void HandContactsToMail(int (*pfnLoad)(Con_DetailClass&, void*), void* pContext);

template <class F>
void HandContactsToMail(F load) {
    HandContactsToMail([](Con_DetailClass& c, void* p) { return (*(F*)p)(c); }, &load);
}
