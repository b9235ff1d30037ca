// Resource ids of the bar tests.
#pragma once
#define IDR_TEST_TOOLBAR 9100
#define ID_TEST_OPEN 9101
#define ID_TEST_CHECKED 9102
#define ID_TEST_UNHANDLED 9103
