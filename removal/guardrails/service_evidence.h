// What ties a service to the product being removed: its key goes only with
// such evidence (protected_keys.h asks here after protected_services.h has
// found the service not Windows' own). The evidence is noted when a
// removal begins: the product's INF files and programs are deleted before
// its service keys are judged.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Notes the description's evidence, and reads its INF files now (the
// installed files named "*.inf" and the product's OEM INF files), once for
// both the services and the files (file_evidence.h): the file evidence is
// noted and forgotten with it. The record must outlive the notes.
void NoteServiceEvidence(const UninstallData& data);
void ForgetServiceEvidence();

// One line of a product's INF file: an AddService line's name is noted.
void NoteServiceLine(const char* line);

// Why the service `name` under `services_path` (below HKEY_LOCAL_MACHINE)
// stays for want of evidence; null when it has no key, or when it is the
// description's driver service, an INF of the product adds it, or its
// program is one of the product's files or lies in one of its own folders
// (a folder of its files that is not Windows'). Nothing noted, nothing
// ties a service.
const char* ServiceEvidenceRefusal(const char* services_path, const char* name);
