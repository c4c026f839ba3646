# make run   installs what is missing, builds the program only and starts it
#            (it needs a graphical display: see README.md)
# make test  installs what is missing, builds everything and runs every test,
#            then each test program once more as a whole, its tests twice
# make test-whole  every test program as a whole and shuffled (seeds 1, 2, 3),
#            the walks on Xvfb too
# make test-sanitize  the same tests built with ASan and UBSan, each program run whole
# make test-tsan  the window layer's cross-thread tests under ThreadSanitizer
# make install  builds the program and installs it into PREFIX (/usr/local),
#            under DESTDIR when given (see README.md, "Installing")
# make package  a Debian package of it in the build folder

JOBS ?= $(shell nproc)
# Tests run twice as many side by side as there are cores: many of them wait
# (for a time limit, a server, an X server), and the cores would idle.
TEST_JOBS ?= $(shell echo $$((2 * $(JOBS))))
BUILD ?= build
# WERROR=ON makes every compiler warning an error (CI builds so); off, a
# warning a newer compiler adds does not stop a user's build.
WERROR ?= OFF
WARNINGS = -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)
SAN_BUILD ?= build-sanitize
TSAN_BUILD ?= build-tsan

PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: setup configure build run test test-whole test-sanitize test-tsan bench install package clean

# A new build folder is made for Ninja (quicker than make at telling what is
# to be built); one made before keeps the generator it has.
GEN = $(if $(wildcard $(1)/CMakeCache.txt),,-G Ninja)

setup:
	@bash scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) $(call GEN,$(BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WARNINGS) $(CMAKE_OPTIONS) >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The tests and the benchmarks are options of the build (off without their libraries).
test: CMAKE_OPTIONS += -DTARVEL_TESTS=ON
test-whole: CMAKE_OPTIONS += -DTARVEL_TESTS=ON
bench: CMAKE_OPTIONS += -DTARVEL_BENCH=ON

# Only what the program needs.
run: configure
	cmake --build $(BUILD) --target tarvel -j $(JOBS)
	cd $(BUILD)/bin && ./tarvel

# The program and what is installed with it (cmake --install does the rest:
# DESTDIR from the environment, the program stripped of its debugging data).
install: configure
	cmake --build $(BUILD) --target tarvel tarvel_data -j $(JOBS)
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX) --strip

# CPack runs the same install rules (into /usr) and makes the .deb.
package: configure
	cmake --build $(BUILD) --target tarvel tarvel_data -j $(JOBS)
	cd $(BUILD) && cpack -G DEB

# ctest starts a process per test; the second step runs each test program as
# one process, its tests twice over, so that state a test leaves behind for
# the next, or for its own second run, shows (make test-whole also shuffles).
# The leak loops (minutes each, and a program of their own already) are left
# out there.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)
	QT_QPA_PLATFORM=offscreen python3 scripts/run-whole.py $(BUILD) -j $(TEST_JOBS) --skip dialogs_leaks_test

test-whole: build
	QT_QPA_PLATFORM=offscreen python3 scripts/run-whole.py $(BUILD) -j $(TEST_JOBS) --all --seeds 1,2,3

# Each test program runs whole, once, every test of it in one process (a
# sanitized process takes long to start; ctest's one process per test runs
# in make test). The leak loops, which count the layer's objects over
# hundreds of openings, run in make test alone.
test-sanitize: setup
	cmake -S . -B $(SAN_BUILD) $(call GEN,$(SAN_BUILD)) -DCMAKE_BUILD_TYPE=Debug $(WARNINGS) -DTARVEL_SANITIZE=ON -DTARVEL_TESTS=ON -DTARVEL_BENCH=OFF >/dev/null
	cmake --build $(SAN_BUILD) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 python3 scripts/run-whole.py $(SAN_BUILD) -j $(TEST_JOBS) --all --repeat 1 \
	  --skip dialogs_leaks_test

# Only the cross-thread tests: the window layer's (sends, message boxes of
# other threads, shutdown) and a mail run's worker against the layer (its
# box when the window closes, a stop); the rest of the program runs on one
# thread. scripts/tsan.supp says which reports inside Qt are suppressed.
TSAN_ENV = QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 exitcode=66 suppressions=$(CURDIR)/scripts/tsan.supp"
test-tsan: setup
	cmake -S . -B $(TSAN_BUILD) $(call GEN,$(TSAN_BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" $(WARNINGS) \
	  -DTARVEL_TSAN=ON -DTARVEL_TESTS=ON -DTARVEL_BENCH=OFF >/dev/null
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_w32core test_mail_threads
	cd $(TSAN_BUILD)/tests/platform/win32/core && $(TSAN_ENV) \
	  ./test_w32core --gtest_filter='Threads.*:ThreadsAtShutdown.*:MessageBoxes.*'
	cd $(TSAN_BUILD)/tests/mail && $(TSAN_ENV) ./test_mail_threads

bench: build
	@for b in $$(find $(BUILD)/bench -mindepth 2 -maxdepth 2 -type f -executable | sort); do echo "== $$b"; "$$b" || exit 1; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD)
