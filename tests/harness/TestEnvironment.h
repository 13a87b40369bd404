#pragma once
// Process-wide set-up shared by every test program.
void InitTestEnvironment();
