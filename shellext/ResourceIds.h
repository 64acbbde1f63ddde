#pragma once

// Resource identifiers shared by Dunmore.rc and the code.
#define IDS_PROJNAME 100
#define IDR_DUNMORE 102
