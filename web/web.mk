# The game for the browser: `make web` builds the static site build/web/ (the page, the game's
# .js/.wasm, its sounds and icon); `make web-run` serves it on this machine. Debian's emscripten
# builds Debian's own SDL2 source first (tools/build-web-sdl.sh, once), and the artwork baker is
# built for this machine, since the baked artwork goes into the wasm.
.PHONY: web web-run web-setup web-test web-tests perf-web

WEB_PORT ?= 8019
# Debian's emscripten finds its JavaScript tools (acorn) where Debian's node keeps its modules.
WEB_ENV := NODE_PATH=/usr/share/nodejs

web-setup:
	@tools/install-web-deps.sh

web: web-setup
	tools/build-web-sdl.sh
	cmake -S . -B build/web-tools -DQUIBBIX_GAME=OFF -DQUIBBIX_TESTS=OFF >/dev/null
	cmake --build build/web-tools --target quibbix-bake-artwork -j $(JOBS)
	$(WEB_ENV) emcmake cmake -S web -B build/web-game -DCMAKE_BUILD_TYPE=Release \
	    -DQUIBBIX_SDL_PREFIX=$(CURDIR)/build/web-sdl/prefix \
	    -DQUIBBIX_BAKE_ARTWORK=$(CURDIR)/build/web-tools/quibbix-bake-artwork >/dev/null
	$(WEB_ENV) cmake --build build/web-game --target quibbix -j $(JOBS)
	mkdir -p build/web
	cp build/web-game/quibbix.js build/web-game/quibbix.wasm build/web-game/quibbix.data web/index.html build/web/
	cp assets/icons/quibbix-64.png build/web/favicon.png

web-run: web
	@echo "Quibbix: http://localhost:$(WEB_PORT)/"
	cd build/web && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The web tests: the scenario scripts under Node, shot for shot the desktop's; then the built site
# in Debian's Chromium, driven by the pinned playwright-core.
web-test: web
	cmake --preset release >/dev/null
	cmake --build --preset release --target quibbix-scenario -j $(JOBS)
	$(WEB_ENV) cmake --build build/web-game --target quibbix-scenario -j $(JOBS)
	tests/web/scenarios.sh
	cd tests/web && npm ci --no-audit --no-fund --silent
	node --test tests/web/

# What `make test` runs of the web: every web test where emscripten and chromium are installed (in
# CI they must be), else one line saying they were skipped.
web-tests:
	@if command -v emcc >/dev/null && [ -x /usr/bin/chromium ]; then $(MAKE) --no-print-directory web-test; \
	 else echo "web tests skipped: emscripten or chromium is not installed (tools/install-web-deps.sh)"; \
	      $(if $(CI),exit 1,true); fi

# The web build's speed and size beside a bare SDL canvas built by the same toolchain, in headless
# Chromium; the table goes into docs/web.md.
perf-web: web
	mkdir -p build/web-bare
	$(WEB_ENV) emcc -O2 web/bare_canvas.c -Ibuild/web-sdl/prefix/include/SDL2 \
	    build/web-sdl/prefix/lib/libSDL2.a -o build/web-bare/bare.js
	printf '%s\n' '<canvas id="canvas"></canvas>' \
	    '<script>var Module = {canvas: document.getElementById("canvas")};</script>' \
	    '<script src="bare.js"></script>' >build/web-bare/index.html
	cd tests/web && npm ci --no-audit --no-fund --silent
	node tools/perf-web.mjs build/web build/web-bare docs/web.md
