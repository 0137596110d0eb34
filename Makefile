# Shortcuts over the scripts and CMake presets.
.PHONY: run test asan release bench package clean

run:
	./run.sh

test:
	./test.sh

asan:
	./test.sh asan

release:
	cmake --preset release && cmake --build --preset release

bench: release
	build/release/bench/glyphox_bench

package:
	scripts/package.sh

clean:
	rm -rf build out
