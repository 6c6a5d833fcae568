/* The least a program can do to analyse a data file with the engine: load
   the library, find its entry and call it once. The names file in the
   current directory names the data file and the outputs. The yardstick for
   the start-up and run time of the terraq command (command-start.sh).

     bench_engine_loader /path/to/Terraq2013_DLL.so   (in the run's folder) */

#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: bench_engine_loader ENGINE_LIBRARY\n");
    return 2;
  }
  void* engine = dlopen(argv[1], RTLD_NOW);
  if (!engine) {
    fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  int32_t (*entry)(int32_t);
  /* POSIX's way to a function's address from dlsym. */
  *(void**)&entry = dlsym(engine, "ITERRAQ");
  if (!entry) {
    fprintf(stderr, "no entry ITERRAQ\n");
    return 2;
  }
  return entry(7);
}
