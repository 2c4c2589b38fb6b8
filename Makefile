# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
CARD ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test build package configure deps format clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Opens the editor on a fresh copy of the demo card (the repository's copy never changes),
# or on a real card with CARD=/path/to/card/.
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target dashcam-settings
	@if [ -n "$(CARD)" ]; then \
		exec $(BUILD_DIR)/app/dashcam-settings "$(CARD)"; \
	else \
		card=$$(mktemp -d "$${TMPDIR:-/tmp}/dashcam-card.XXXXXX") && \
		cp -R demo/card/. "$$card/" && \
		echo "Demo card copied to $$card/" && \
		exec $(BUILD_DIR)/app/dashcam-settings "$$card/"; \
	fi

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package of the program, in $(BUILD_DIR)/; see README.md, "Install".
package: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target dashcam-settings
	@cmake --build $(BUILD_DIR) --target package

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
