# The two commands of the README, and a few more for people working on the program.
# Both install what they need from Debian's packages (scripts/setup.sh), idempotently.
.PHONY: run test setup screenshot clean bench

run:            ## build the x86_64 program and start it under Wine
	scripts/run.sh

test:           ## every test: native, sanitizers, Windows under Wine, the i686 build, fuzzers
	scripts/test.sh

bench:          ## every benchmark (native and under Wine), ending with one table
	scripts/bench.sh

setup:          ## install Debian packages and build the mingw dependencies
	scripts/setup.sh

screenshot:     ## PNG of the Wine desktop of a running session -> build/screenshots/desktop.png
	scripts/screenshot.sh build/screenshots/desktop.png

.PHONY: dist
dist:           ## both setups, a portable zip and the symbol files -> build/dist
	scripts/dist.sh

clean:
	rm -rf build/native build/native-asan build/fuzz build/win64 build/win32 build/test-logs
