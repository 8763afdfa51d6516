// Linked into every program of a sanitizer build (never into a plain one). The options here come
// before those of ASAN_OPTIONS, so a run can still change them.
//
// intercept_tls_get_addr=0: to find a thread's dynamically allocated TLS blocks, the address sanitizer
// of this toolchain guesses their bounds from a block header that the C library no longer writes. When
// such a block happens to start 16 bytes into a page, it reads its own allocator's chunk header as those
// bounds, and the leak check at exit then scans a range starting near address 0 and dies ("Tracer caught
// signal 11"), in whichever test the heap layout of the moment lands on. The blocks are ordinary heap
// memory reachable from each thread's own TLS, so the leak check still sees through them without it.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
  return "intercept_tls_get_addr=0";
}
