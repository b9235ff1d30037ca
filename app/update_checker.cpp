#include "app/update_checker.h"

CUpdateChecker::CUpdateChecker()
{
}

CUpdateChecker::~CUpdateChecker()
{
}

void CUpdateChecker::StartUpdateCheck()
{
}
