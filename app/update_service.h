// Where the update service lives.
#pragma once

// The web address of the update service's folder, ending with '/': the
// check asks its page "checkupdate.php" and the notice offers its page
// "download.php".
const char* UpdateServiceHost();
