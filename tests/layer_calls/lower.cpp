// A lower layer with one call upward (misplaced), for the layer-call check's own test.
int upper_service();

int lower_service() { return 1; }

int misplaced() { return upper_service(); }
