// The view switches into the contact pages, for the menus and links that open them.
#pragma once

int GotoCon_Homepage();
int GotoCon_Important();
int GotoCon_Opportunities();
int GotoCon_Relation();
int GotoCon_Industry();
int GotoCon_Province();
int GotoCon_Date();
int GotoCon_DetailNew();
