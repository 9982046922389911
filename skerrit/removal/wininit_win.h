#pragma once
// Adds a restart-time deletion to wininit.ini (Windows 9x). The old content
// is kept byte for byte; on any failure the file stays as it was.

bool AddWininitDeletion(const char* short_path, const char* wininit_path);
