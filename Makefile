# The two set-up commands of the README: `make demo` and `make check`.
# Both install what they need first (tools/install-deps.sh does nothing when
# everything is there).
.PHONY: deps dist native check unit binaries wine demo bench fuzz clean

JOBS ?= 2

deps:
	@tools/install-deps.sh

dist: deps
	@mkdir -p build
	@cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel >build/cmake-win.log 2>&1 || (cat build/cmake-win.log; exit 1)
	@cmake --build build/win -j$(JOBS)

native: deps
	@mkdir -p build
	@cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >build/cmake-native.log 2>&1 \
	  || (cat build/cmake-native.log; exit 1)
	@cmake --build build/native -j$(JOBS)

unit: native
	@ctest --test-dir build/native --output-on-failure -j$(JOBS)

binaries: dist
	@tools/check-binaries.sh dist

wine: dist
	@tests/wine/run-suites.sh

check: unit binaries wine

demo: dist
	@tools/demo.sh

bench: deps
	@tools/bench.sh

fuzz: deps
	@tools/fuzz.sh

clean:
	rm -rf build dist
