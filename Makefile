# The face of the project: `make test` and `make run` are all the set-up a
# new machine needs.
SHELL := /bin/bash
CACHE := $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/velkin
export OPENSSL_MINGW_ROOT := $(CACHE)/openssl-mingw64
STAMP := $(CACHE)/deps-installed
FUZZ_SECONDS ?= 30

.PHONY: all deps native windows asan fuzz-build dist test test-native test-asan test-windows fuzz bench run run-skinedit screenshots clean format differential crash-test

all: native windows

# Re-checked when the installer changes; otherwise cheap.
$(STAMP): scripts/install-deps.sh scripts/build-openssl-mingw.sh
	scripts/install-deps.sh
	@mkdir -p $(CACHE) && touch $@

deps: $(STAMP)

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

fuzz-build: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz

# What a Windows user downloads: the portable zip and the installer, in dist/.
dist: windows
	cmake --build --preset windows --target dist

test-native: native
	set -o pipefail; ctest --preset native | tee build/native/ctest.log

test-asan: asan
	set -o pipefail; ctest --preset asan | tee build/asan/ctest.log

# The installer's tests under Wine install the packages of `make dist`.
test-windows: windows dist
	set -o pipefail; ctest --preset windows | tee build/windows/ctest.log; rc=$$?; scripts/wine-stop; exit $$rc

# Every fuzz target, FUZZ_SECONDS each, from its kept seeds.
fuzz: fuzz-build
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

test: test-native test-asan test-windows fuzz
	@echo "All suites passed; the fuzzers found nothing in $(FUZZ_SECONDS) s each."
	@scripts/test-summary.sh build/native/ctest.log build/asan/ctest.log build/windows/ctest.log

# More random command sequences than `make test` runs, natively and on the
# real tree-view: SEQUENCES of them from seed FIRST (a new start each run).
SEQUENCES ?= 5000
FIRST ?= $(shell od -An -N2 -tu2 /dev/urandom | tr -d ' ')000
differential: native windows
	scripts/differential.sh build/native build/windows $(FIRST) $(SEQUENCES)

# The real velkin.exe killed KILLS times while it saves a large set; every
# restart must load the old set or the new one.
KILLS ?= 200
crash-test: windows
	KILLS=$(KILLS) tests/blackbox/run.sh build/windows crash-saves

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/velkin_bench --benchmark_counters_tabular=true --benchmark_out=build/bench/results.json --benchmark_out_format=json
	scripts/bench-summary.py build/bench/results.json
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target treeview_load_bench startup_bench skinpaint_bench velkin
	@# A prefix of its own: the start-up benchmark writes its task set into
	@# the data folder there.
	export VELKIN_WINEPREFIX=$(CACHE)/bench-prefix; \
	scripts/wine-run build/windows/treeview_load_bench.exe && \
	scripts/wine-run build/windows/skinpaint_bench.exe && \
	scripts/wine-run build/windows/startup_bench.exe "Z:$$(echo $(CURDIR)/build/windows/velkin.exe | tr / '\\')"; \
	rc=$$?; scripts/wine-stop; exit $$rc

# Started through Wine's "start", as a shell starts a program (shown
# normally); a bare start would pass the default show command, which hides.
display-note = @if [ -z "$$DISPLAY" ] || { command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; }; then \
	echo "No usable display: running under Xvfb (nothing will be seen; scripts/wine-stop ends it)."; fi
run: windows
	$(display-note)
	scripts/wine-run start /wait /unix "$(CURDIR)/build/windows/velkin.exe"

# The skin editor on the bundled Default skin, named on its command line.
run-skinedit: windows
	$(display-note)
	scripts/wine-run start /wait /unix "$(CURDIR)/build/windows/skinedit.exe" \
		"Z:$$(echo "$(CURDIR)/build/windows/skins/Default" | tr / '\\')"

# A PNG of each tab in the plain look and in the Default skin, from the real
# program under Wine.
screenshots: windows
	tests/blackbox/run.sh build/windows screenshots

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
