// An upper layer calling down, as it may, for the layer-call check's own test.
int lower_service();

int upper_service() { return lower_service() + 1; }
