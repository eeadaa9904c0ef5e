# Two entry points: `make run` and `make test`. Both install what is missing,
# configure CMake in build/, and build with clang++ (see CMakeLists.txt).
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifneq ($(CI),)
CMAKE_FLAGS += -DMETALOOM_WERROR=ON
endif

.PHONY: all deps configure build run test bench package translations clean format

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

# Files to open can be passed along: make run ARGS="photo.jpg clip.mov"
run: build
	@$(BUILD_DIR)/bin/metaloom $(ARGS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS) --timeout 600

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

# The Debian package: $(BUILD_DIR)/metaloom_<version>-<build>_<arch>.deb
package: build
	@cmake --build $(BUILD_DIR) --target package

# Brings translations/*.ts up to date with the texts of the sources (never
# part of the build, which leaves the committed files as they are).
translations: configure
	@cmake --build $(BUILD_DIR) --target update_translations

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
