// Resource ids of the application core.
#pragma once

#define IDS_APP_TITLE 57344

// The program's icon.
#define IDI_HARBECK 116
