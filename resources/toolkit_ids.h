// Resource ids of the window toolkit.
#pragma once

// Tool tips of a sizing bar's caption buttons.
#define IDS_HIDE_BAR 5000
#define IDS_CONTRACT_BAR 5002
