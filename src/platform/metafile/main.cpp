// Converts a metafile to SVG on standard output (placeholder until the converter lands).
int main() { return 1; }
