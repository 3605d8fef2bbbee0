# The two set-up commands of the README: `make demo` and `make check`.
# Both install what they need first (tools/install-deps.sh does nothing when
# everything is there).
.PHONY: deps dist route native tools reference check layers shellcheck tables unit binaries wine demo bench fuzz fresh clean

JOBS ?= 2
export JOBS

deps:
	@tools/install-deps.sh

# The product: the i686 binaries in dist/, whichever route the suites take.
dist: deps
	@tools/build-windows.sh i686

# The build that the Wine suites run: dist/ itself where this kernel runs
# 32-bit programs, otherwise the x86-64 build of the same sources
# (tools/wine-route.sh decides; WINE_ROUTE=32 or 64 forces one).
route: dist
	@tools/build-windows.sh route

native: deps
	@mkdir -p build
	@cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >build/cmake-native.log 2>&1 \
	  || (cat build/cmake-native.log; exit 1)
	@cmake --build build/native -j$(JOBS)

# The script reference, made from the tool's vocabulary (the unit tests
# compare the committed one).
reference: tools
	@build/bin/discscreen reference > docs/script-reference.md

# The disc authors' tool, built without sanitizers: build/bin/discscreen.
tools: deps
	@mkdir -p build/bin
	@cmake -S . -B build/tools -DCMAKE_BUILD_TYPE=Release -DDISCSCREEN_SANITIZE=OFF >build/cmake-tools.log 2>&1 \
	  || (cat build/cmake-tools.log; exit 1)
	@cmake --build build/tools --target discscreen -j$(JOBS)
	@cp build/tools/discscreen build/bin/discscreen

# The tool cases among the unit tests sign the shipped files of dist/.
unit: native dist
	@ctest --test-dir build/native --output-on-failure -j$(JOBS)

binaries: dist
	@tools/check-binaries.sh dist

# Includes point from a higher layer of src/ to a lower one only.
layers:
	@tools/check-layers.sh

# The message tables refuse a wrongly wired window class at compile time.
tables: deps
	@tests/win/table_refusals.sh

# The shell scripts: warnings and errors fail (style notes do not).
shellcheck: deps
	@find tests tools -name '*.sh' -exec shellcheck -x -S warning {} +

# The disc image suite runs the authors' tool too.
wine: route tools
	@tests/wine/run-suites.sh

check: layers shellcheck tables tools unit binaries wine
	@tests/tools/check_cases.sh build/bin/discscreen
	@tests/tools/image_cases.sh build/bin/discscreen
	@tests/tools/shrink_cases.sh build/bin/discscreen
	@tests/tools/new_cases.sh build/bin/discscreen
	@tests/tools/picture_cases.sh build/bin/discscreen
	@tests/browser/designer_cases.sh build/bin/discscreen

demo: route tools
	@tools/demo.sh

bench: route tools
	@tools/bench.sh

fuzz: deps
	@tools/fuzz.sh

# The README's two commands in fresh Debian 12 roots, once per route (long;
# not part of check). ROUTES="32 64 auto" picks the runs.
fresh:
	@tools/fresh-machine.sh $(ROUTES)

clean:
	rm -rf build dist
