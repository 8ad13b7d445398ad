# make run   installs what is missing, builds and starts the setting tool
# make test  installs what is missing, builds and runs every test
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench clean

setup:
	./scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/app && ./rcv910x-tool

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

clean:
	rm -rf $(BUILD)
