// Where the program keeps its settings: HKEY_CURRENT_USER under this root.
#pragma once

// With the trailing backslash: key names are appended directly ("main",
// "Option\\Thumbnail").
#define HARBECK_REGISTRY_ROOT "Software\\Pellmoor\\Harbeck\\"
// Without it: the key itself.
#define HARBECK_REGISTRY_KEY "Software\\Pellmoor\\Harbeck"
