#pragma once
// Dialog templates of the layer's tests.
#define IDD_TEST_EDIT 101
#define IDD_TEST_BARE 102
#define IDC_TEST_EDIT 1001
