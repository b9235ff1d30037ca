// The update service's address, alone in its file: a test program links its
// own in its place to reach a server of its own.
#include "app/update_service.h"

const char* UpdateServiceHost()
{
    return "http://update.pellmoor.example/harbeck/";
}
