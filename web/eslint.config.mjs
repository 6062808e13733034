// The page's TypeScript: typescript-eslint's recommended rules.
import eslint from "@eslint/js";
import tseslint from "typescript-eslint";

export default tseslint.config(
  { ignores: ["node_modules/**"] },
  { files: ["src/**/*.ts"], extends: [eslint.configs.recommended, ...tseslint.configs.recommended] },
);
