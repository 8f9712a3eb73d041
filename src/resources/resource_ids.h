// Identifiers of the program's resources.
#pragma once

#define IDI_WUZZLE 107
#define IDS_WUZZLE 2501
