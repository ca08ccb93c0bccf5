// ESLint for the route view's script: modules that the build joins into the one page.
import js from "@eslint/js";
import globals from "globals";

export default [
  {
    files: ["src/tool/view/script/**/*.js"],
    ...js.configs.recommended,
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: "module",
      // The join's one function around the modules, run again for new data.
      globals: { ...globals.browser, startRouteView: "readonly" },
    },
    rules: {
      ...js.configs.recommended.rules,
      // The join gives every module's names one scope: a shadowed name reads as the other one.
      "no-shadow": ["error", { builtinGlobals: false }],
      "no-var": "error",
      "prefer-const": "error",
      eqeqeq: "error",
      // The page takes text from the data: never as markup.
      "no-restricted-properties": ["error",
        { property: "innerHTML", message: "set textContent: names come from the data" },
        { property: "outerHTML", message: "set textContent: names come from the data" }],
      "no-restricted-syntax": ["error",
        { selector: "CallExpression[callee.property.name='insertAdjacentHTML']", message: "no markup from the data" }],
    },
  },
  {
    // The live page's script: a classic script beside the joined modules.
    files: ["src/tool/view/live.js"],
    ...js.configs.recommended,
    languageOptions: { ecmaVersion: 2022, sourceType: "script", globals: globals.browser },
  },
];
