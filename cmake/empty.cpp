// Placeholder object for subsystems that have no sources yet.
void blobsmith_empty_translation_unit() {}
