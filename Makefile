# Front door: `make test` and `make run` set up everything they need.
.PHONY: all deps build build-linux build-linux-tsan build-windows test test-linux test-linux-tsan test-windows run fuzz bench bench-windows soak storm package clean

FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

all: build

deps:
	@tools/install-deps

build: build-linux build-windows

build-linux: deps
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)

# The same native suite with ThreadSanitizer, for the listener threads.
build-linux-tsan: deps
	cmake --preset linux-tsan
	cmake --build --preset linux-tsan -j $(JOBS)

build-windows: deps
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

test: test-linux test-linux-tsan test-windows

test-linux: build-linux
	ctest --preset linux -j $(JOBS)

test-linux-tsan: build-linux-tsan
	TSAN_OPTIONS=halt_on_error=1 ctest --preset linux-tsan -j $(JOBS)

test-windows: build-windows
	tools/with-wine-session ctest --preset windows -j $(JOBS)

# Starts the program from build/run (created with the sample config.cfg the
# first time) in a Wine desktop with a task bar, whose notification area
# shows the program's icon and balloons.
run: build-windows
	mkdir -p build/run
	cp build/windows/kestrin.exe build/run/
	[ -f build/run/config.cfg ] || cp packaging/config.cfg build/run/
	cd build/run && ../../tools/wine-run explorer /desktop=shell,1024x768 kestrin.exe

# Runs the syslog parser fuzzer for FUZZ_SECONDS on a scratch copy of the corpus.
# Then the settings file's INI text fuzzer, as long, on a copy of its own corpus.
# Then the public address checks' fuzzer, likewise.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	rm -rf build/fuzz/corpus && mkdir -p build/fuzz/corpus
	cp tests/syslog/corpus/* build/fuzz/corpus/
	build/fuzz/fuzz/syslog_message_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=2048 \
		-dict=fuzz/syslog_message.dict build/fuzz/corpus
	rm -rf build/fuzz/ini_corpus && mkdir -p build/fuzz/ini_corpus
	cp tests/files/ini_corpus/* build/fuzz/ini_corpus/
	build/fuzz/fuzz/ini_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 build/fuzz/ini_corpus
	rm -rf build/fuzz/address_corpus && mkdir -p build/fuzz/address_corpus
	cp tests/publicaddr/corpus/* build/fuzz/address_corpus/
	build/fuzz/fuzz/address_validation_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=512 build/fuzz/address_corpus

bench: deps
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	build/bench/bench/kestrin_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
	build/bench/bench/append_bench
	build/bench/bench/udp_bench

# The Windows figures of the self-timing benchmarks, under Wine.
bench-windows: build-windows
	cd build/windows/bench && ../../../tools/with-wine-session sh -c \
		'../../../tools/wine-run ./append_bench.exe && ../../../tools/wine-run ./udp_bench.exe'

# A million datagrams of mixed, partly hostile content into the real program
# under Wine (about a quarter of an hour); SOAK_COUNT to change the number.
SOAK_COUNT ?= 1000000
soak: build-windows
	cd build/windows/bench && ../../../tools/with-wine-session ../../../tools/wine-run ./soak.exe $(SOAK_COUNT)

# A storm of 5,000 datagrams, five times, into the real program in Wine's
# desktop with its notification area: infos unlisted, errors listed with the
# balloons off and on; and the processor time of an idle Kestrin in the tray.
storm: build-windows
	cd build/windows/bench && ../../../tools/with-wine-session sh -c \
		'rm -f storm-report.txt; wine explorer /desktop=shell,1024x768 storm.exe storm-report.txt; cat storm-report.txt'
	tools/with-wine-session tools/idle-cpu

# The release: zip, per-user installer and SHA256SUMS in build/package, all
# checked under Wine and reproduced from a fresh clone of the commit.
package: build-windows
	tools/package

clean:
	rm -rf build
